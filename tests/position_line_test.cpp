#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "positions/position_line.h"
#include "positions/positions_file.h"

TEST(SplitPositionLine, FollowsTheReadingRule)
{
    struct Case { const char *line; QStringList fields; };
    const Case cases[] = {
        {"AEX; Put; mrt; 2013;  380;  12,34;  12,34; 1; 1234,00; 0",
         {"AEX", "Put", "mrt", "2013", "380", "12,34", "12,34", "1", "1234,00", "0"}},
        {"a;;b", {"a", " ", "b"}},           // an empty field between separators is one blank
        {"a;   ;b", {"a", "", "b"}},         // a field of blanks only becomes empty
        {"only", {"only", ""}},              // one field gets an empty second one
        {"a ; b", {"a ", "b"}},              // trailing blanks stay
        {"a;", {"a", ""}},                   // nothing after the last separator
        {";", {" ", ""}},
        {"", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SplitPositionLine(QString::fromUtf8(c.line)), c.fields) << c.line;
}

TEST(JoinPositionFields, AlwaysTenFields)
{
    const QStringList eleven = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
    EXPECT_EQ(JoinPositionFields(eleven), "1; 2; 3; 4; 5; 6; 7; 8; 9; 10");
    EXPECT_EQ(JoinPositionFields({"a", "b"}), "a; b; ; ; ; ; ; ; ; ");
    // Joining removes the extra blanks that the add dialog leaves before strike and prices.
    EXPECT_EQ(JoinPositionFields(SplitPositionLine("AEX; Put; mrt; 2013;  380;  12,34;  12,34; 1; 1234,00; 0")),
              "AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 1234,00; 0");
}

TEST(JoinPositionFields, RewrittenLineNeverReadsBackAsAComment)
{
    // A line without a series: rewriting it must not produce a line that starts with ";", which
    // the next start would skip as a comment, losing the position. Rewritten again and again,
    // the line stays the same.
    for (const char *line : {" ; Call; apr; 2013; 380; 1; 2; 3; 4; 0", "; Call; apr; 2013; 380; 1; 2; 3; 4; 0"}) {
        QString rewritten = JoinPositionFields(SplitPositionLine(line));
        EXPECT_EQ(rewritten, " ; Call; apr; 2013; 380; 1; 2; 3; 4; 0") << line;
        for (int round = 0; round < 3; ++round)
            rewritten = JoinPositionFields(SplitPositionLine(rewritten));
        EXPECT_EQ(rewritten, " ; Call; apr; 2013; 380; 1; 2; 3; 4; 0") << line;
        EXPECT_EQ(positions_file::decode(positions_file::encode({rewritten})), QStringList{rewritten});
    }
    EXPECT_EQ(JoinPositionFields({}), " ; ; ; ; ; ; ; ; ; ");
}

TEST(PositionLine, NineFieldsAreCompletedAndOddLinesRecognised)
{
    QStringList nine = SplitPositionLine("AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 1234,00");
    CompleteNineFields(nine);
    ASSERT_EQ(nine.size(), 10);
    EXPECT_EQ(nine.last(), " 0");
    EXPECT_TRUE(IsUsablePosition(nine));

    EXPECT_FALSE(IsUsablePosition(SplitPositionLine("AEX; Put; mrt; 2013; 380")));
    EXPECT_FALSE(IsUsablePosition(SplitPositionLine("AEX; Put; mrt; 20x3; 380; 1; 1; 1; 1; 0")));
    EXPECT_FALSE(IsUsablePosition(SplitPositionLine("AEX; Put; mrt; 2013; 380; 1; 1; 1,5; 1; 0")));
    EXPECT_FALSE(IsUsablePosition(SplitPositionLine("AEX; Put; mrt; 2013; 380; 1; 1; 1; 1; ja")));
}
