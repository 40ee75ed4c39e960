#pragma once

#include <QLocale>

// Sets the default locale for the length of a test and puts the Dutch one, which the tests run
// under, back after it.
struct DefaultLocale {
    explicit DefaultLocale(const QLocale &locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands)); }
    DefaultLocale(const DefaultLocale &) = delete;
    DefaultLocale &operator=(const DefaultLocale &) = delete;
};
