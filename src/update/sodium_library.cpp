#include "update/sodium_library.h"

#include "platform/shared_library.h"

#include <QDebug>

namespace sodium_library {

namespace {

// The name the library is installed under, with the version of its interface.
const char kInstalledName[] = "libsodium.so.23";

} // namespace

bool resolve(const char *fileName, Functions &functions, QString &error)
{
    void *library = os::openLibrary(fileName, error);
    return library
        && os::findFunction(library, "sodium_init", functions.init, error)
        && os::findFunction(library, "crypto_generichash", functions.generichash, error)
        && os::findFunction(library, "crypto_sign_verify_detached", functions.sign_verify_detached, error);
}

const Functions *installed()
{
    static Functions found;
    static const bool ready = [] {
        QString error;
        if (!resolve(kInstalledName, found, error)) {
            qWarning().noquote() << "No signature can be checked: libsodium cannot be opened:" << error;
            return false;
        }
        // Below 0 the library cannot be used at all.
        if (found.init() < 0) {
            qWarning() << "No signature can be checked: libsodium cannot be set up";
            return false;
        }
        return true;
    }();
    return ready ? &found : nullptr;
}

} // namespace sodium_library
