#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "market/curl_library.h"

namespace {

struct OpenCase {
    const char *fileName;
    const char *reasonNames;  // what the reason for a failure must mention; null when it opens
};

TEST(CurlLibrary, OpensTheInstalledLibraryAndGivesAReasonForAnyOther)
{
    const OpenCase cases[] = {
        {"libcurl.so.4", nullptr},
        {"libpelgrandix-absent.so.9", "libpelgrandix-absent.so.9"},
        // A library that opens but is not libcurl: the first function it lacks is named.
        {"libm.so.6", "curl_global_init"},
    };
    for (const OpenCase &c : cases) {
        SCOPED_TRACE(c.fileName);
        curl_library::Functions functions;
        QString error;
        const bool found = c.reasonNames == nullptr;
        EXPECT_EQ(curl_library::resolve(c.fileName, functions, error), found);
        if (!found) {
            EXPECT_TRUE(error.contains(QLatin1String(c.reasonNames))) << error.toStdString();
        } else {
            EXPECT_TRUE(error.isEmpty()) << error.toStdString();
            EXPECT_TRUE(functions.global_init && functions.easy_init && functions.easy_setopt
                        && functions.easy_perform && functions.easy_getinfo
                        && functions.easy_cleanup && functions.slist_append
                        && functions.slist_free_all);
        }
    }
}

TEST(CurlLibrary, InstalledLibraryIsSetUpOnceForTheWholeProcess)
{
    const curl_library::Functions *first = curl_library::installed();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(curl_library::installed(), first);
    CURL *handle = first->easy_init();  // usable: set up by the first call
    ASSERT_NE(handle, nullptr);
    first->easy_cleanup(handle);
}

} // namespace
