#include <gtest/gtest.h>

#include "support/conversion_error.h"
#include "update/version_list.h"

namespace {

const QString kRunning = QStringLiteral("versie 1.20a");
const QString kOtherLine = QStringLiteral("Koersbord,Koersbord300.exe,c,900,x,oud,old\r\n");

struct Outcome {
    int result = -1;
    QString programStr = QStringLiteral("Pelgrandix");
    QString newVersion = QStringLiteral("unchanged");
    QString remark = QStringLiteral("unchanged");
    int sizeKB = -1;
    bool downloaded = true;
};

Outcome evaluate(const QString &text, const QString &running = kRunning,
                 const QString &language = QStringLiteral("NLD"))
{
    Outcome o;
    o.result = EvaluateVersionList(text, o.programStr, o.newVersion, o.remark, running, language,
                                   o.sizeKB, o.downloaded);
    return o;
}

} // namespace

TEST(VersionComparison, DigitsFirstThenLetterAgainstTheRunningVersion)
{
    struct Case { const char *downloadName; char letter; int result; const char *newVersion; };
    const Case cases[] = {
        {"Pelgrandix121.exe", 'a', UpdateAdvised, "1.21a"},
        {"Pelgrandix120.exe", 'b', UpdateAdvised, "1.20b"},
        {"Pelgrandix120.exe", 'a', NoUpdateNeeded, "1.20a"},
        {"Pelgrandix119.exe", 'z', NoUpdateNeeded, "1.19z"},
        // Digit texts are compared character by character, not as numbers.
        {"Pelgrandix99.exe", 'a', UpdateAdvised, "9.9a"},
        {"Pelgrandix1000.exe", 'a', NoUpdateNeeded, "1.00a"},
        {"Pelgrandix12.exe", 'z', NoUpdateNeeded, "1.2z"},
    };
    for (const Case &c : cases) {
        const QString line = QStringLiteral("Pelgrandix,%1,%2,2048,x,nieuw,new\r\n")
                                 .arg(QLatin1String(c.downloadName), QChar(c.letter));
        const Outcome o = evaluate(kOtherLine + line);
        EXPECT_EQ(o.result, c.result) << c.downloadName << c.letter;
        EXPECT_EQ(o.newVersion, QLatin1String(c.newVersion)) << c.downloadName << c.letter;
        EXPECT_EQ(o.programStr, QLatin1String(c.downloadName));
    }
}

TEST(VersionComparison, RunningVersionLetterOnlyWhenTextEndsInSmallLetter)
{
    EXPECT_EQ(RunningVersion(kRunning).digits, "120");
    EXPECT_EQ(RunningVersion(kRunning).letter, QLatin1Char('a'));
    EXPECT_TRUE(RunningVersion(QStringLiteral("versie 1.20")).letter.isNull());
    EXPECT_TRUE(RunningVersion(QStringLiteral("versie 1.20A")).letter.isNull());
    EXPECT_TRUE(RunningVersion(QString()).letter.isNull());

    // Any letter is newer than none.
    EXPECT_TRUE(IsNewerVersion({"120", QLatin1Char('a')}, RunningVersion("versie 1.20")));
    EXPECT_FALSE(IsNewerVersion({"120", QChar()}, RunningVersion("versie 1.20")));
}

TEST(VersionComparison, DownloadNameWithoutPointOrDigitsAdvisesNothing)
{
    const Outcome noPoint =
        evaluate(kOtherLine + "Pelgrandix,Pelgrandix121exe,z,2048,x\r\n", "versie 1.20");
    EXPECT_EQ(noPoint.result, NoUpdateNeeded);
    const Outcome noDigits = evaluate(kOtherLine + "Pelgrandix,Pelgrandix.exe,z,2048,x\r\n", "");
    EXPECT_EQ(noDigits.result, NoUpdateNeeded);
}

TEST(NewVersionText, FirstDigitPointNextTwoDigitsAndLetter)
{
    EXPECT_EQ(NewVersion({"121", QLatin1Char('b')}), "1.21b");
    EXPECT_EQ(NewVersion({"1305", QLatin1Char('c')}), "1.30c");
    EXPECT_EQ(NewVersion({"121", QChar()}), "1.21");
    EXPECT_EQ(NewVersion({"", QLatin1Char('b')}), "");
}

TEST(VersionFields, AdjacentCommasGiveACodeZeroFieldAndAFinalCommaNothing)
{
    const QString nul(QChar(0));
    EXPECT_EQ(SplitVersionFields("a,,b"), (QStringList{"a", nul, "b"}));
    EXPECT_EQ(SplitVersionFields(",a"), (QStringList{nul, "a"}));
    EXPECT_EQ(SplitVersionFields("a,b,"), (QStringList{"a", "b"}));
    EXPECT_EQ(SplitVersionFields("a,,"), (QStringList{"a", nul}));
    EXPECT_EQ(SplitVersionFields(""), QStringList{});

    // An empty letter field reads as a letter of code 0, lower than any running letter.
    const Outcome o = evaluate(kOtherLine + "Pelgrandix,Pelgrandix120.exe,,2048,x\r\n",
                               QStringLiteral("versie 1.20"));
    EXPECT_EQ(o.result, NoUpdateNeeded);
    EXPECT_EQ(o.sizeKB, 2048);
}

TEST(VersionList, TooShortDefaultPageOrEmptyIsNotReceived)
{
    const QString line = QStringLiteral("Pelgrandix,Pelgrandix121.exe,b,2048,x,nieuw,new\r\n");
    ASSERT_EQ(line.size(), 49);
    EXPECT_EQ(evaluate(line).result, ListNotReceived);
    EXPECT_EQ(evaluate(line + "\n").result, UpdateAdvised);
    EXPECT_EQ(evaluate(QStringLiteral("Default.htm")).result, ListNotReceived);
    EXPECT_EQ(evaluate(QString()).result, ListNotReceived);
    // Nothing of the earlier check is touched.
    EXPECT_TRUE(evaluate(QString()).downloaded);
    EXPECT_EQ(evaluate(line).programStr, "Pelgrandix");
}

TEST(VersionList, ProgramNotListedClearsDownloaded)
{
    const Outcome o = evaluate(kOtherLine + kOtherLine, kRunning);
    EXPECT_EQ(o.result, ProgramNotListed);
    EXPECT_FALSE(o.downloaded);
    EXPECT_EQ(o.programStr, "Pelgrandix");
    // The name is looked for as written.
    EXPECT_EQ(evaluate(kOtherLine + "pelgrandix,pelgrandix121.exe,b,2048,x\r\n").result,
              ProgramNotListed);
}

TEST(VersionList, ProgramLineIsFoundWhereTheNameFirstOccurs)
{
    const Outcome second =
        evaluate(kOtherLine + "Pelgrandix,Pelgrandix121.exe,b,2048,x,nieuw,new\r\n");
    EXPECT_EQ(second.result, UpdateAdvised);
    EXPECT_EQ(second.programStr, "Pelgrandix121.exe");
    EXPECT_EQ(second.newVersion, "1.21b");
    EXPECT_EQ(second.sizeKB, 2048);
    EXPECT_EQ(second.remark, "nieuw");

    // The first occurrence is inside another program's description.
    const Outcome inside = evaluate(
        "Koersbord,Koersbord300.exe,c,900,x,zie Pelgrandix,Pelgrandix119.exe,z,77,y\r\n"
        "Pelgrandix,Pelgrandix121.exe,b,2048,x,nieuw,new\r\n");
    EXPECT_EQ(inside.programStr, "Pelgrandix119.exe");
    EXPECT_EQ(inside.sizeKB, 77);
    EXPECT_EQ(inside.result, NoUpdateNeeded);

    // Without a carriage return the line runs to the end of the text.
    const Outcome last = evaluate(kOtherLine + "Pelgrandix,Pelgrandix121.exe,b,2048,x,nl,en");
    EXPECT_EQ(last.result, UpdateAdvised);
    EXPECT_EQ(last.remark, "nl");
}

TEST(VersionList, RemarkInTheLanguageOnlyWhenBothDescriptionsArePresent)
{
    const QString seven = kOtherLine + "Pelgrandix,Pelgrandix121.exe,b,2048,x,nieuw,new\r\n";
    EXPECT_EQ(evaluate(seven, kRunning, "NLD").remark, "nieuw");
    EXPECT_EQ(evaluate(seven, kRunning, "ENU").remark, "new");
    const QString six = kOtherLine + "Pelgrandix,Pelgrandix121.exe,b,2048,x,nieuw\r\n";
    EXPECT_EQ(evaluate(six).remark, "");
}

TEST(VersionList, UnreadableProgramLineThrowsAndChangesNothing)
{
    const char *lines[] = {
        "Pelgrandix,Pelgrandix121.exe,b,2048\r\n",     // four fields
        "Pelgrandix,Pelgrandix121.exe,b\r\n",           // three fields
        "Pelgrandix\r\n",                               // the name alone
        "Pelgrandix,Pelgrandix121.exe,b,2 MB,x\r\n",    // size no whole number
        "Pelgrandix,Pelgrandix121.exe,b,,x\r\n",        // size of code 0
    };
    for (const char *line : lines) {
        QString programStr = QStringLiteral("Pelgrandix");
        QString newVersion, remark;
        int sizeKB = 7;
        bool downloaded = true;
        EXPECT_THROW(EvaluateVersionList(kOtherLine + line, programStr, newVersion, remark,
                                         kRunning, "NLD", sizeKB, downloaded),
                     ConversionError)
            << line;
        EXPECT_EQ(programStr, "Pelgrandix") << line;
        EXPECT_EQ(sizeKB, 7) << line;
    }
}

TEST(UpdateResultTexts, DutchForNldEnglishOtherwise)
{
    EXPECT_EQ(UpdateResultText(NoUpdateNeeded, "NLD"),
              (QStringList{"Een Update is niet nodig,", "u heeft de nieuwste versie."}));
    EXPECT_EQ(UpdateResultText(NoUpdateNeeded, ""),
              (QStringList{"No Update is needed,", "you are using the latest version."}));
    EXPECT_EQ(UpdateResultText(ProbeFailed, "NLD"), QStringList{"Er is iets niet goed gegaan"});
    EXPECT_EQ(UpdateResultText(ListNotReceived, "ENU"),
              QStringList{"File not downloaded correctly"});
    EXPECT_TRUE(UpdateResultText(6, "NLD").isEmpty());
}
