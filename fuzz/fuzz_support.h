#pragma once
// Shared by the fuzz targets: the locale every target runs in, and a check that stops the run
// with a readable message when a property that must hold for any input is broken.

#include <QLocale>
#include <QString>

#include <cstdio>
#include <cstdlib>

// Numbers and month names as on a Dutch desktop, as the quote sites and positions files write
// them.
inline void UseDutchLocale()
{
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
}

[[noreturn]] inline void FuzzFailure(const char *file, int line, const char *condition,
                                     const QString &detail)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n  %s\n", file, line, condition,
                 qPrintable(detail));
    std::abort();
}

#define FUZZ_CHECK(condition, detail)                                                             \
    do {                                                                                          \
        if (!(condition))                                                                         \
            FuzzFailure(__FILE__, __LINE__, #condition, (detail));                                \
    } while (false)
