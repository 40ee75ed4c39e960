#pragma once
// Arithmetic slows down many times over on x86-64 processors when a library has left the
// upper halves of the wide vector registers in use: every later instruction of the older
// encoding (which this program's arithmetic and the maths library use) then waits on them.
// The time zone data, read the first time a time zone is asked for, leaves them so. Work that
// does much arithmetic calls this first; where the processor has no wide registers it does
// nothing.

namespace platform {

void leaveWideVectorState();
// Whether the processor has the wide registers and the system saves them.
bool hasWideVectorRegisters();

} // namespace platform
