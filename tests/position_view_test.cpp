#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "positions/position_line.h"
#include "positions/position_rules.h"
#include "positions/position_view.h"
#include "support/text_routines.h"

TEST(PositionView, ActionFromSignAndFlag)
{
    struct Case { const char *difference, *flag, *action; };
    const Case cases[] = {
        {"-90,00", "1", "Bijschrijven"}, {"-90,00", "0", "Schrijven"},
        {"90,00", "1", "Terugkopen"},    {"90,00", "0", "Geen actie"},
        {"-0,00", " 0", "Schrijven"},    {"90,00", " 1", "Geen actie"},  // flag compared as text
    };
    for (const Case &c : cases)
        EXPECT_EQ(ChooseAction(c.difference, c.flag), c.action) << c.difference << "/" << c.flag;
}

TEST(PositionView, ActionShownOnlyAboveFifteenPerOption)
{
    struct Case { const char *difference; int amount; const char *action; bool shown; };
    const Case cases[] = {
        {"-90,00", 3, "Schrijven", true},      // -30 per option
        {"15,00", 1, "Terugkopen", false},     // exactly 15 hides
        {"15,01", 1, "Terugkopen", true},
        {"-45,00", 3, "Bijschrijven", false},  // -15 per option
        {"90,00", 3, "Geen actie", false},
        {"90,00", 0, "Terugkopen", false},     // no amount: nothing to divide
        {"20000,00", 1, "Terugkopen", true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ActionShown(StrToReal(QString::fromLatin1(c.difference)), c.amount, c.action), c.shown) << c.difference;
}

TEST(PositionView, PerOptionValueAndTitle)
{
    EXPECT_EQ(PerOptionText(-90, 3), "-30,00");
    EXPECT_EQ(PerOptionText(20000, 1), "20000,00");
    EXPECT_EQ(PerOptionText(10, 0), "---");
    EXPECT_EQ(PositionTitle(SplitPositionLine("AEX; Put; mrt; 2013;  380;  12,34;  12,34; 1; 1234,00; 0")),
              "AEX Put mrt 2013 380");
}

TEST(PositionView, DifferenceNeverTakesTheExponentForm)
{
    struct Case { double value; const char *text; };
    const Case cases[] = {
        {-90, "-90,00"}, {1234.567, "1235,00"}, {9999.4, "9999,00"}, {9999.6, "9999,60"},
        {20000, "20000,00"}, {-123456.78, "-123457,00"}, {0, "0,00"}, {15.000000000000036, "15,00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DifferenceToStr(c.value), c.text) << c.value;
    EXPECT_DOUBLE_EQ(StrToReal(DifferenceToStr(20000)), 20000);
}

TEST(PositionEdits, RewriteTheLineWithTheDifferenceRecomputed)
{
    const QString line = "AEX; Call; apr; 2013; 400; 2,50; 2,80; 3; -90,00; 0";
    EXPECT_EQ(PutTransactieKoers(" 3,55 ", line), "AEX; Call; apr; 2013; 400; 3,55; 2,80; 3; 225,00; 0");
    EXPECT_EQ(PutTransactieKoers("n.v.t.", line), "AEX; Call; apr; 2013; 400; n.v.t.; 2,80; 3; -840,00; 0");
    EXPECT_EQ(WithAmount(line, 0), "AEX; Call; apr; 2013; 400; 2,50; 2,80; 0; 0,00; 0");
    EXPECT_EQ(WithAmount(line, 1000), "AEX; Call; apr; 2013; 400; 2,50; 2,80; 1000; -30000,00; 0");
    EXPECT_EQ(WithFlag(line, true), "AEX; Call; apr; 2013; 400; 2,50; 2,80; 3; -90,00; 1");
    // Lines that cannot be read stay exactly as they are.
    EXPECT_EQ(PutTransactieKoers("3", "broken; line"), "broken; line");
    // A typed text that would become a field separator or a line break of the file is refused
    // rather than shifting the amount, the difference and the flag into other fields.
    for (const char *typed : {"12;5", ";", "3,5\n", "3,5\r\nAEX; Put"})
        EXPECT_EQ(PutTransactieKoers(typed, line), line) << typed;
    EXPECT_EQ(WithAmount("AEX; Call; apr", 5), "AEX; Call; apr");
}
