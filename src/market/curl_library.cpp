#include "market/curl_library.h"

#include "platform/shared_library.h"

#include <QDebug>

namespace curl_library {

namespace {

// The name the library is installed under, with the version of its interface.
const char kInstalledName[] = "libcurl.so.4";

template <typename Function>
bool find(void *library, const char *name, Function &function, QString &error)
{
    function = reinterpret_cast<Function>(os::librarySymbol(library, name, error));
    return function != nullptr;
}

} // namespace

bool resolve(const char *fileName, Functions &functions, QString &error)
{
    void *library = os::openLibrary(fileName, error);
    return library
        && find(library, "curl_global_init", functions.global_init, error)
        && find(library, "curl_easy_init", functions.easy_init, error)
        && find(library, "curl_easy_setopt", functions.easy_setopt, error)
        && find(library, "curl_easy_perform", functions.easy_perform, error)
        && find(library, "curl_easy_getinfo", functions.easy_getinfo, error)
        && find(library, "curl_easy_cleanup", functions.easy_cleanup, error)
        && find(library, "curl_slist_append", functions.slist_append, error)
        && find(library, "curl_slist_free_all", functions.slist_free_all, error);
}

const Functions *installed()
{
    static Functions found;
    static const bool ready = [] {
        QString error;
        if (!resolve(kInstalledName, found, error)) {
            qWarning().noquote() << "No fetch is possible: libcurl cannot be opened:" << error;
            return false;
        }
        if (found.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
            qWarning() << "No fetch is possible: libcurl cannot be set up";
            return false;
        }
        return true;
    }();
    return ready ? &found : nullptr;
}

} // namespace curl_library
