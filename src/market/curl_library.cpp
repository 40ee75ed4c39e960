#include "market/curl_library.h"

#include "platform/shared_library.h"

#include <QDebug>

namespace curl_library {

namespace {

// The name the library is installed under, with the version of its interface.
const char kInstalledName[] = "libcurl.so.4";

} // namespace

bool resolve(const char *fileName, Functions &functions, QString &error)
{
    void *library = os::openLibrary(fileName, error);
    return library
        && os::findFunction(library, "curl_global_init", functions.global_init, error)
        && os::findFunction(library, "curl_easy_init", functions.easy_init, error)
        && os::findFunction(library, "curl_easy_setopt", functions.easy_setopt, error)
        && os::findFunction(library, "curl_easy_perform", functions.easy_perform, error)
        && os::findFunction(library, "curl_easy_getinfo", functions.easy_getinfo, error)
        && os::findFunction(library, "curl_easy_cleanup", functions.easy_cleanup, error)
        && os::findFunction(library, "curl_slist_append", functions.slist_append, error)
        && os::findFunction(library, "curl_slist_free_all", functions.slist_free_all, error);
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
