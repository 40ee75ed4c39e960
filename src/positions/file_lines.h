#pragma once
// The position lines of a positions file as it was read: the file's bytes in one piece, and
// where each line lies in them. A file of many thousands of positions is so read without a text
// for every line; a line is decoded into a text of its own only when it is asked for.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace positions_file {

class FileLines
{
public:
    FileLines() = default;
    // Where a line lies in the bytes: its start and its length (a file is read up to far less
    // than the range of these).
    struct Range {
        qint32 start;
        qint32 length;
    };
    FileLines(QByteArray bytes, QList<Range> ranges) : m_bytes(std::move(bytes)), m_ranges(std::move(ranges)) {}

    qsizetype size() const { return m_ranges.size(); }
    bool isEmpty() const { return m_ranges.isEmpty(); }
    QString at(qsizetype i) const;

    // Every line as a text of its own.
    QStringList toStringList() const;
    operator QStringList() const { return toStringList(); }

    friend bool operator==(const FileLines &lines, const QStringList &texts);

private:
    QByteArray m_bytes;
    QList<Range> m_ranges;
};

} // namespace positions_file
