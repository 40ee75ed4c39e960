#pragma once
// Small text and number routines shared by every part of the program. Their behaviour at the
// edges (separator absent, empty text, comma or point as decimal mark) is part of the formats
// of the positions file and of the downloaded pages, so none of them reports an error: each
// returns a defined result instead.

#include <QString>
#include <QStringView>

class QLocale;

QString IntToStrZ2(int n);
// The digits of n (after a "-" when it is negative), and IntToStrZ2's text, written to out, which
// has room for 21 characters; each returns the end of what it wrote. For texts that are built
// in one piece, such as the quote keys of a download.
char16_t *WriteDecimal(qint64 n, char16_t *out);
char16_t *WriteIntToStrZ2(int n, char16_t *out);

// Fixed-point text of Value, rounded to Precision significant digits and Digits decimals, with
// the user's locale's decimal comma, or a point where the locale writes any other sign; the
// exponent form when the rounded value has more integer digits than Precision.
QString RealToStr(double value, int precision, int digits);
// The same with a given decimal separator, for text that has a notation of its own.
QString RealToStr(double value, int precision, int digits, QChar separator);

// Reads a number written with a comma or a point; unreadable text gives 0.
double StrToReal(QStringView s);

// The value in the locale's notation with a fixed number of decimals; a value that rounds to
// zero is written without a sign.
QString LocaleFixedText(double value, int decimals, const QLocale &locale);
// The same without group separators, in plain digits with "-" and the locale's decimal comma or
// a point: for numbers that are read back.
QString FixedText(double value, int decimals);

QString RightOf(QChar ch, const QString &s);
QString LeftOf(QChar ch, const QString &s);
QString RightOfLast(QChar ch, const QString &s);
QStringView RightOfLast(QChar ch, QStringView s);
QString LeftOfLast(QChar ch, const QString &s);

QString UnNumber(const QString &s);
QString UnAlpha(const QString &s);
QString UnSpace(const QString &s);
QString UnBeginSpace(const QString &s);
// The same as a view into the text, for readers that take a line apart without copying it
// (inline: a download reads every field of every position through it).
inline QStringView UnBeginSpace(QStringView s)
{
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == QLatin1Char(' '))
        ++i;
    return s.sliced(i);
}

// The standard decimal integer conversion: leading blanks, an optional sign and digits, within
// 32 bits. Returns false for anything else (the caller decides what a failure means).
bool ParseDecimalInt(QStringView s, int *value);

// Text that came from outside (a page, the version list) as a label or a message shows it: at
// most kLongestShownText characters, a longer one cut with "…". Laid out whole, megabytes of
// it would hold the window for a minute.
inline constexpr qsizetype kLongestShownText = 200;
QString ShownText(const QString &text);
