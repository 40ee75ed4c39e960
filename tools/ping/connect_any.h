#pragma once
// Whether a host can be reached: a TCP connection to any of the addresses its name resolves to.

#include <netdb.h>

// Opens a TCP connection to each address of the list at once (the first 16 of them) and waits
// at most timeoutMs in all for the first one that is made. Returns that address, or null when
// none was made in time. Every address has the whole time: one that never answers (a name
// that gives an unused IPv6 address first, say) does not use it up for the others.
const addrinfo *FirstToConnect(const addrinfo *addresses, int timeoutMs);
