#pragma once
// An exclusive lock on a file that the system itself lets go of when its holder ends, however it
// ends: a crash, a kill or a power cut leaves at most the file behind, never a lock that someone
// must judge stale. It is a lock of the whole open file (flock), which Qt's QLockFile takes too,
// so each sees the other's. Taking it never waits, and nothing is synced to the disk: the lock
// lives in the system, the file's text is only a note of who holds it.

#include <QByteArray>
#include <QString>

namespace platform {

class FileLock
{
public:
    explicit FileLock(QString path);
    // Lets go of a lock still held.
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    enum class Outcome {
        Taken,
        HeldElsewhere,
        // The file cannot be made or locked (a read-only folder, a file system without locks).
        NotPossible,
    };
    // Makes the file when it is missing, for the user alone, and takes the lock on it; a file of
    // the user's that others could read is closed to them. The note replaces the file's text.
    Outcome tryTake(const QByteArray &note);
    // Removes the file and lets go.
    void release();

private:
    QString m_path;
    int m_fd = -1;
};

} // namespace platform
