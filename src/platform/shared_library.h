#pragma once
// Libraries opened while the program runs instead of by the loader at start, for those that are
// needed only now and then and would otherwise slow every start.

#include <QString>

namespace os {

// Opens the library with this file name (found as the loader finds it) for the rest of the
// process; it is never closed. Returns null and sets error to the system's reason when it
// cannot be opened.
void *openLibrary(const char *fileName, QString &error);

// The address of a function of an opened library; null with the system's reason in error when
// the library has none by that name.
void *librarySymbol(void *library, const char *name, QString &error);

} // namespace os
