#pragma once
// Whether the desktop has a program for an address. Handing an address to the desktop's opener
// succeeds as soon as the opener starts, whether or not any program then takes the address, so
// the desktop is asked first.

#include <QString>

namespace platform {

// True when the desktop names a default program for addresses of the scheme ("mailto",
// "http"): `xdg-mime query default x-scheme-handler/<scheme>` prints one. False when it prints
// nothing, fails, is not there, or takes longer than a few seconds.
bool desktopHandlesScheme(const QString &scheme);

} // namespace platform
