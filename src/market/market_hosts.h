#pragma once
// The three outside sites the program talks to, each as host[:port]. They come from the
// environment so that the program can be pointed at another site without a rebuild; without a
// setting each one is the demo quote site on loopback.

#include <QString>

// Host of the option price pages (PELGRANDIX_QUOTE_HOST).
QString QuoteHost();
// Host of the mobile index page (PELGRANDIX_INDEX_HOST).
QString IndexHost();
// The maker's site: probe target, version list, installers, download page (PELGRANDIX_MAKER_HOST).
QString MakerHost();
