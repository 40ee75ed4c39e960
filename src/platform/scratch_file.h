#pragma once
// Opening the program's scratch files ("tmp.txt", "Temp.txt") in a folder that others may be
// able to write to, without letting them point the program at another file: a symbolic link at
// the name is not followed, and a file that is not the user's own plain file is left untouched.

#include <QString>

namespace platform {

// Creates the file, or empties the user's own file of that name, for reading and writing.
// Returns the descriptor (closed on exec), or -1 with errno telling why.
int createScratchFile(const QString &path);

} // namespace platform
