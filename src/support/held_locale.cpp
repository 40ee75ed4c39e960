#include "support/held_locale.h"

namespace {

thread_local unsigned t_depth = 0;
thread_local unsigned t_hold = 0;
thread_local unsigned t_holds = 0;

} // namespace

HeldLocale::HeldLocale()
{
    if (t_depth++ == 0) {
        t_hold = ++t_holds;
        if (t_hold == 0)  // after the count went round
            t_hold = ++t_holds;
    }
}

HeldLocale::~HeldLocale()
{
    if (--t_depth == 0)
        t_hold = 0;
}

unsigned HeldLocale::hold()
{
    return t_hold;
}

bool HeldLocale::mustAsk(unsigned &askedUnder)
{
    const unsigned now = hold();
    const bool ask = now == 0 || now != askedUnder;
    askedUnder = now;
    return ask;
}
