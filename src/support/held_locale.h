#pragma once
// The routines that follow the default locale (RealToStr's decimal point, MonthNumber's month
// names) keep its values and ask the locale on every call whether it has changed, which costs
// more than writing a short number. While a HeldLocale lives in a thread, they ask once and
// then take the values as they were: for work that reads and writes thousands of numbers in
// one go, with nothing in between that could change the locale.

class HeldLocale
{
public:
    HeldLocale();
    ~HeldLocale();
    HeldLocale(const HeldLocale &) = delete;
    HeldLocale &operator=(const HeldLocale &) = delete;

    // 0 while no HeldLocale lives in this thread; otherwise a number of the outermost one, which
    // no earlier one had, so that a routine asks the locale once under each.
    static unsigned hold();
    // Whether a routine that keeps values of the locale must ask it again: on every call while
    // no HeldLocale lives, once under each one. `askedUnder` is the routine's own note of the
    // hold it last asked under, brought up to date here.
    static bool mustAsk(unsigned &askedUnder);
};
