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

// The same, into a function pointer of the type it is declared with; false when there is none.
template <typename Function>
bool findFunction(void *library, const char *name, Function &function, QString &error)
{
    function = reinterpret_cast<Function>(librarySymbol(library, name, error));
    return function != nullptr;
}

} // namespace os
