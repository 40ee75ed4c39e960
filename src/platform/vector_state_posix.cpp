#include "platform/vector_state.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))

#include <cpuid.h>

namespace platform {

namespace {

__attribute__((target("avx"))) void zeroUpperHalves()
{
    __builtin_ia32_vzeroupper();
}

} // namespace

// Asked here rather than with the compiler's __builtin_cpu_supports, whose support code
// fills in every feature of the processor before main: dozens of cpuid instructions, each a
// trap to the host in a virtual machine, on the way to the first window.
bool hasWideVectorRegisters()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return false;
    const unsigned osSavesVectorState = 1u << 27, avx = 1u << 28;
    if ((ecx & (osSavesVectorState | avx)) != (osSavesVectorState | avx))
        return false;
    // The system must save the upper halves (bit 2) with the older registers (bit 1).
    unsigned low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (low & 6u) == 6u;
}

void leaveWideVectorState()
{
    static const bool wide = hasWideVectorRegisters();
    if (wide)
        zeroUpperHalves();
}

} // namespace platform

#else

namespace platform {

void leaveWideVectorState() {}

bool hasWideVectorRegisters()
{
    return false;
}

} // namespace platform

#endif
