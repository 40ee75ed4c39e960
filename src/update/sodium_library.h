#pragma once
// libsodium, opened on the first check of a signature rather than by the loader when the program
// starts: only the update check needs it, and mapping and binding it, and every symbol the loader
// looked up past it, cost each start about a million instructions before the window could show.

#include <QString>

#include <sodium.h>

namespace sodium_library {

// The functions of the library this program calls.
struct Functions {
    decltype(&::sodium_init) init = nullptr;
    decltype(&::crypto_generichash) generichash = nullptr;
    decltype(&::crypto_sign_verify_detached) sign_verify_detached = nullptr;
};

// Opens the library with this file name and finds every function in it. Returns false with the
// reason in error when the library cannot be opened or lacks one of them.
bool resolve(const char *fileName, Functions &functions, QString &error);

// The installed libsodium, opened and set up on the first call from any thread. Null when it
// cannot be opened or set up; the reason is then logged once.
const Functions *installed();

} // namespace sodium_library
