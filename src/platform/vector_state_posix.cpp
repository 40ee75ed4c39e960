#include "platform/vector_state.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))

namespace platform {

namespace {

__attribute__((target("avx"))) void zeroUpperHalves()
{
    __builtin_ia32_vzeroupper();
}

} // namespace

void leaveWideVectorState()
{
    static const bool wide = __builtin_cpu_supports("avx");
    if (wide)
        zeroUpperHalves();
}

} // namespace platform

#else

namespace platform {

void leaveWideVectorState() {}

} // namespace platform

#endif
