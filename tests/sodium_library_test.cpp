#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "update/sodium_library.h"

namespace {

TEST(SodiumLibrary, OpensTheInstalledLibraryAndGivesAReasonForAnyOther)
{
    struct Case {
        const char *fileName;
        const char *reasonNames;  // what the reason for a failure must mention; null when it opens
    };
    const Case cases[] = {
        {"libsodium.so.23", nullptr},
        {"libpelgrandix-absent.so.9", "libpelgrandix-absent.so.9"},
        // A library that opens but is not libsodium: the first function it lacks is named.
        {"libm.so.6", "sodium_init"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fileName);
        sodium_library::Functions functions;
        QString error;
        EXPECT_EQ(sodium_library::resolve(c.fileName, functions, error), c.reasonNames == nullptr);
        if (c.reasonNames)
            EXPECT_TRUE(error.contains(QLatin1String(c.reasonNames))) << error.toStdString();
        else
            EXPECT_TRUE(functions.init && functions.generichash && functions.sign_verify_detached);
    }
    EXPECT_NE(sodium_library::installed(), nullptr);
}

} // namespace
