#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "support/text_routines.h"

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
    EXPECT_TRUE(ParseDecimalInt(" 0", &v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(ParseDecimalInt("-12", &v));
    EXPECT_EQ(v, -12);
    EXPECT_FALSE(ParseDecimalInt("12 ", &v));
    EXPECT_FALSE(ParseDecimalInt("", &v));
    EXPECT_FALSE(ParseDecimalInt("1,5", &v));
    EXPECT_FALSE(ParseDecimalInt("99999999999", &v));
}
