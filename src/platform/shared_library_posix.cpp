#include "platform/shared_library.h"

#include <dlfcn.h>

namespace os {

namespace {

QString lastLoaderError()
{
    const char *reason = ::dlerror();
    return reason ? QString::fromLocal8Bit(reason) : QString();
}

} // namespace

void *openLibrary(const char *fileName, QString &error)
{
    // Every function resolved now rather than at its first call, so that a library that lacks
    // one fails here with a reason instead of ending the process later. Local, so that its
    // names cannot stand in for those of any other library.
    void *library = ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        error = lastLoaderError();
    return library;
}

void *librarySymbol(void *library, const char *name, QString &error)
{
    ::dlerror();  // forget an earlier failure, so that the reason read below is this one's
    void *address = ::dlsym(library, name);
    if (!address)
        error = lastLoaderError();
    return address;
}

} // namespace os
