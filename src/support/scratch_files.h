#pragma once
// The probe's output "tmp.txt" and the page copy "Temp.txt" belong in the current folder. Where
// that folder cannot take them (it cannot be written, or the name is held by a symbolic link or
// by anything but the user's own plain file) they go to the data folder instead, so that a
// folder problem does not pass for a broken connection, and a folder that others can write to
// cannot point them at the user's other files.

#include <QFile>
#include <QString>

#include <memory>

struct ScratchFile {
    QString path;                 // where the file was made
    std::unique_ptr<QFile> file;  // open for reading and writing; null when no folder took it
};

// Creates the file (or empties the user's own one) in the current folder, else in DataDir. What
// the file is to hold is read back through the open file, never by its name again.
ScratchFile CreateScratchFile(const QString &name);
