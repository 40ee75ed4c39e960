#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "support/default_locale.h"
#include "support/text_routines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iomanip>
#include <random>
#include <string>
#include <vector>

TEST(RealToStr, FixedFormRoundsToPrecisionAndDecimals)
{
    struct Case { double value; int precision, digits; const char *text; };
    const Case cases[] = {
        {12.346, 5, 2, "12,35"}, {12.346, 2, 2, "12,00"}, {0.5, 2, 2, "0,50"},
        {380, 5, 2, "380,00"}, {-90, 4, 2, "-90,00"}, {1234, 10, 2, "1234,00"},
        {0, 4, 2, "0,00"}, {-0.001, 4, 2, "0,00"}, {0.125, 5, 2, "0,13"},
        {9999.4, 4, 2, "9999,00"}, {2.5, 1, 0, "3"}, {0.004, 4, 2, "0,00"},
        {0.005, 4, 2, "0,01"}, {999.96, 5, 1, "1000,0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RealToStr(c.value, c.precision, c.digits), QString::fromUtf8(c.text))
            << c.value << " p" << c.precision << " d" << c.digits;
}

namespace {

// The fixed form by its rule, written out plainly: the value's 18 significant digits as printf
// gives them, rounded half away from zero to as many digits as the precision and the decimals
// allow. Only for values that do not round to more integer digits than the precision.
QString fixedByDigits(double value, int precision, int digits)
{
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.17e", std::fabs(value));
    std::string kept = std::string(1, printed[0]) + std::string(printed + 2, 17);
    int point = value == 0 ? 1 : std::atoi(std::strchr(printed, 'e') + 1) + 1;
    const int keep = std::min(precision, point + digits);
    const bool up = keep >= 0 && kept[size_t(keep)] >= '5';
    kept.resize(size_t(std::max(keep, 0)));
    for (int i = keep - 1; up; --i) {
        if (i < 0) {
            kept.insert(0, "1");
            ++point;
            break;
        }
        if (kept[size_t(i)] != '9') {
            ++kept[size_t(i)];
            break;
        }
        kept[size_t(i)] = '0';
    }
    const auto digitAt = [&](int i) { return i >= 0 && i < int(kept.size()) ? kept[size_t(i)] : '0'; };
    QString text = std::signbit(value) && kept.find_first_not_of('0') != std::string::npos ? "-" : "";
    if (point <= 0)
        text += '0';
    for (int i = 0; i < point; ++i)
        text += digitAt(i);
    if (digits > 0)
        text += ',';
    for (int i = 0; i < digits; ++i)
        text += digitAt(point + i);
    return text;
}

} // namespace

TEST(RealToStr, FixedFormRoundsTheEighteenDigitsHalfAwayFromZero)
{
    // Prices and amounts with ties in their decimal form (whose binary value lies on either
    // side), values around powers of ten, and random values of every size below the exponent
    // form, at every precision and number of decimals.
    std::mt19937_64 random(23);
    std::vector<double> values = {0.125, 2.675, 1.005, 0.285, 1.115, 999.995, 9999.5, 0.995,
                                  1e-6, 1e-5, 0.1, 0.01, 0.001, 1, 10, 1000, 0.05, 12.345,
                                  9999.4, 99999.49, 123456.5, 195000};
    for (int i = 0; i < 4000; ++i) {
        values.push_back(double(random() % 10000000) / 1000 + (i % 2 ? 0.0005 : 0));
        values.push_back(std::ldexp(double(random() >> 11), -int(random() % 90)));
        values.push_back(std::nextafter(std::pow(10.0, int(random() % 26) - 12), i % 2 ? 0.0 : 1e300));
    }
    for (const double magnitude : values) {
        for (const double value : {magnitude, -magnitude}) {
            const int precision = 2 + int(random() % 17);
            const int digits = int(random() % 8);
            if (std::fabs(value) >= std::pow(10.0, precision) * (1 - 0.5 * std::pow(10.0, -precision)))
                continue;
            ASSERT_EQ(RealToStr(value, precision, digits), fixedByDigits(value, precision, digits))
                << std::setprecision(17) << value << " p" << precision << " d" << digits;
        }
    }
}

TEST(RealToStr, ExponentFormWhenIntegerDigitsExceedPrecision)
{
    EXPECT_EQ(RealToStr(12345.6, 4, 2), "1,235E04");
    EXPECT_EQ(RealToStr(100000, 2, 2), "1E05");
    EXPECT_EQ(RealToStr(-20000, 4, 2), "-2E04");
    EXPECT_EQ(RealToStr(9999.9, 4, 2), "1E04");
    EXPECT_EQ(RealToStr(12345678, 4, 6), "1,235E7");
}

TEST(StrToReal, ReadsCommaOrPointAndYieldsZeroForText)
{
    struct Case { const char *text; double value; };
    const Case cases[] = {
        {"12,50", 12.5}, {" 3 ", 3}, {",5", 0.5}, {"7,", 7}, {"-2,25", -2.25},
        {"n.v.t.", 0}, {"", 0}, {"12.5", 12.5}, {" 12 , 5 ", 12.5}, {"-", 0},
        {"1.2.3", 12}, {"5-", 5}, {"-1.5-", 15}, {"1.234,5", 1234}, {"1e5", 0}, {".", 0},
        {"\t1", 0},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(StrToReal(QString::fromUtf8(c.text)), c.value) << c.text;
    // A zero character (a 0x00 byte in a file or a page) is text, not a blank.
    EXPECT_DOUBLE_EQ(StrToReal(QString("12").insert(1, QChar(0))), 0);
}

TEST(FixedText, PlainDigitsThatStrToRealReadsBackInEveryLocaleAsRealToStrsDo)
{
    struct Case { const char *locale; const char *minusTwelveAndAHalf; };
    for (const Case &c : {Case{"nl_NL", "-12,50"}, Case{"en_US", "-12.50"}, Case{"sv_SE", "-12,50"},
                          Case{"ar_EG", "-12.50"}}) {
        SCOPED_TRACE(c.locale);
        const DefaultLocale users{QLocale(QString::fromLatin1(c.locale))};
        EXPECT_EQ(FixedText(-12.5, 2), c.minusTwelveAndAHalf);
        EXPECT_EQ(StrToReal(FixedText(-12.5, 2)), -12.5);
        EXPECT_EQ(StrToReal(FixedText(1234567.25, 2)), 1234567.25) << "no group separators";
        // The numbers that position lines hold read back the same way.
        EXPECT_EQ(StrToReal(RealToStr(-12.5, 10, 2)), -12.5);
    }
}

TEST(TextCuts, SeparatorAtEdgesAndAbsent)
{
    EXPECT_EQ(LeftOf(';', ";abc"), "");
    EXPECT_EQ(RightOf(';', ";abc"), "abc");
    EXPECT_EQ(RightOf(';', "abc;"), "");
    EXPECT_EQ(RightOf(';', "abc"), "");
    EXPECT_EQ(LeftOf(';', "abc"), "");
    EXPECT_EQ(LeftOf(';', "ab;c;d"), "ab");
    EXPECT_EQ(LeftOfLast('\\', "C:\\a\\b\\"), "C:\\a\\b");
    EXPECT_EQ(LeftOfLast('\\', "C:\\a\\b"), "C:\\a");
    EXPECT_EQ(LeftOfLast('\\', "abc"), "");
    EXPECT_EQ(LeftOfLast('\\', "\\abc"), "");
    EXPECT_EQ(RightOfLast(';', "x; y; z"), " z");
    EXPECT_EQ(RightOfLast(';', ""), "");
    EXPECT_EQ(RightOfLast(';', ";" + QString(300, 'x')).size(), 255);
}

TEST(TextStrips, RemoveTheirClassOfCharacters)
{
    EXPECT_EQ(IntToStrZ2(9), "09");
    EXPECT_EQ(IntToStrZ2(10), "10");
    EXPECT_EQ(IntToStrZ2(0), "00");
    EXPECT_EQ(IntToStrZ2(-3), "0-3");
    EXPECT_EQ(UnAlpha("versie 1.20a"), "120");
    EXPECT_EQ(UnNumber("Pelgrandix121"), "Pelgrandix");
    EXPECT_EQ(UnSpace(" 3, 5 "), "3,5");
    EXPECT_EQ(UnBeginSpace("   "), "");
    EXPECT_EQ(UnBeginSpace("  x "), "x ");
}

TEST(ParseDecimalInt, AcceptsLeadingBlanksAndSignOnly)
{
    int v = 0;
    EXPECT_TRUE(ParseDecimalInt(u" 0", &v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(ParseDecimalInt(u"-12", &v));
    EXPECT_EQ(v, -12);
    EXPECT_FALSE(ParseDecimalInt(u"12 ", &v));
    EXPECT_FALSE(ParseDecimalInt(u"", &v));
    EXPECT_FALSE(ParseDecimalInt(u"1,5", &v));
    EXPECT_FALSE(ParseDecimalInt(u"99999999999", &v));
    struct Case { const char16_t *text; bool ok; int value; };
    const Case edges[] = {{u"2147483647", true, 2147483647}, {u"2147483648", false, 0},
                          {u"-2147483648", true, -2147483647 - 1}, {u"-2147483649", false, 0},
                          {u"+7", true, 7}, {u"-", false, 0}, {u"000000000000012", true, 12}};
    for (const Case &c : edges) {
        v = 0;
        EXPECT_EQ(ParseDecimalInt(c.text, &v), c.ok) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(v, c.value) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(StrToReal, WellFormedNumbersReadAsTheStandardConversionReadsThem)
{
    // Random numbers of every length, including ones beyond the range of a double.
    std::mt19937 random(5);
    for (int i = 0; i < 20000; ++i) {
        QString text;
        if (random() % 4 == 0)
            text += QLatin1Char('-');
        const int integerDigits = int(random() % (i % 100 == 0 ? 400 : 20));
        for (int d = 0; d < integerDigits; ++d)
            text += QLatin1Char(char('0' + random() % 10));
        if (text.isEmpty() || text == QLatin1String("-"))
            text += QLatin1Char('0');
        text += QLatin1Char('.');
        const int decimals = 1 + int(random() % (i % 100 == 1 ? 400 : 20));
        for (int d = 0; d < decimals; ++d)
            text += QLatin1Char(char('0' + random() % 10));
        const double expected = text.toDouble();
        const double read = StrToReal(text);
        EXPECT_TRUE(read == expected || (std::isnan(read) && std::isnan(expected))) << text.toStdString();
        EXPECT_EQ(std::signbit(read), std::signbit(expected)) << text.toStdString();
    }
}

namespace {

using Whole = unsigned __int128;

Whole powerOfTen(int exponent)
{
    Whole power = 1;
    while (exponent-- > 0)
        power *= 10;
    return power;
}

// The fixed form as the rule reads, worked in whole numbers: the value's 18 significant digits
// as printf("%.17e") gives them, rounded half up to as many as both the precision and the
// decimals allow, written with that many decimals and a comma. Empty when the value rounded to
// the precision has more integer digits than the precision: then the exponent form applies.
std::string fixedFormByTheRule(double value, int precision, int decimals)
{
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.17e", std::fabs(value));  // D.DDDDDDDDDDDDDDDDDe+XX
    const Whole digits = std::stoull(std::string(1, printed[0]) + std::string(printed + 2, 17));
    const int exponent = std::atoi(std::strchr(printed, 'e') + 1);
    const auto roundedTo = [digits](int keep) -> Whole {
        if (keep < 0)
            return 0;
        const Whole unit = powerOfTen(18 - keep);
        return (digits + unit / 2) / unit;
    };
    if (digits != 0) {
        const int carry = roundedTo(precision) >= powerOfTen(precision) ? 1 : 0;
        if (exponent + carry + 1 > precision)
            return {};
    }
    const int keep = std::min(precision, exponent + 1 + decimals);
    // The rounded value counted in units of the last decimal.
    const Whole units = roundedTo(keep) * powerOfTen(exponent + 1 - keep + decimals);
    std::string text = std::to_string(static_cast<unsigned long long>(units / powerOfTen(decimals)));
    if (decimals > 0) {
        const std::string fraction = std::to_string(static_cast<unsigned long long>(units % powerOfTen(decimals)));
        text += ',' + std::string(size_t(decimals) - fraction.size(), '0') + fraction;
    }
    return std::signbit(value) && units != 0 ? '-' + text : text;
}

} // namespace

TEST(RealToStr, DigitsAsPrintfGivesThem)
{
    // Random values of every magnitude up to 10^15, and decimal fractions that end in a 5 where
    // the rounding happens, against the rule worked out independently of the program's digits.
    std::mt19937_64 random(17);
    for (int i = 0; i < 100000; ++i) {
        double value;
        if (i % 2) {
            value = std::ldexp(double(random() >> 11), int(random() % 78) - 80);
        } else {
            const long long whole = (long long)(random() % 1000000000) * 10 + 5;
            value = double(whole) / std::pow(10.0, double(random() % 9));
        }
        if (random() % 3 == 0)
            value = -value;
        const int precision = 2 + int(random() % 14);
        const int decimals = int(random() % 5);
        const std::string expected = fixedFormByTheRule(value, precision, decimals);
        const QString text = RealToStr(value, precision, decimals);
        if (expected.empty())
            ASSERT_TRUE(text.contains('E')) << value << " p" << precision << " d" << decimals << ": " << text.toStdString();
        else
            ASSERT_EQ(text.toStdString(), expected) << std::hexfloat << value << " p" << precision << " d" << decimals;
    }
}
