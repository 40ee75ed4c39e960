#pragma once
// libcurl, opened on the first fetch rather than by the loader when the program starts: the
// library and the two dozen it depends on (TLS, Kerberos, LDAP, SSH, ...) took about a fifth of
// the time from start to the first window, while most starts fetch nothing until later.

#include <QString>

#include <curl/curl.h>

namespace curl_library {

// The functions of the library this program calls.
struct Functions {
    decltype(&::curl_global_init) global_init = nullptr;
    decltype(&::curl_easy_init) easy_init = nullptr;
    decltype(&::curl_easy_setopt) easy_setopt = nullptr;
    decltype(&::curl_easy_perform) easy_perform = nullptr;
    decltype(&::curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&::curl_slist_append) slist_append = nullptr;
    decltype(&::curl_slist_free_all) slist_free_all = nullptr;
};

// Opens the library with this file name and finds every function in it. Returns false with the
// reason in error when the library cannot be opened or lacks one of them.
bool resolve(const char *fileName, Functions &functions, QString &error);

// The installed libcurl, opened and set up on the first call from any thread. Null when it
// cannot be opened; the reason is then logged once.
const Functions *installed();

} // namespace curl_library
