#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "support/conversion_error.h"
#include "support/text_routines.h"
#include "update/version_list.h"

namespace {

const QString kOtherLine = QStringLiteral("Koersbord,Koersbord300.exe,c,900,x,oud,old\r\n");

struct Outcome {
    int result = -1;
    QString programStr = QStringLiteral("Pelgrandix"), newVersion, remark;
    int sizeKB = -1;
    QByteArray sha256 = "unchanged";
    bool downloaded = true;
};

Outcome evaluate(const QString &text, const QString &running = QStringLiteral("versie 1.20a"),
                 const QString &language = QStringLiteral("NLD"))
{
    Outcome o;
    o.result = EvaluateVersionList(text, o.programStr, o.newVersion, o.remark, running, language,
                                   o.sizeKB, o.sha256, o.downloaded);
    return o;
}

} // namespace

TEST(VersionList, ComparesDigitTextsThenLetterWithTheRunningVersion)
{
    struct Case { const char *line, *running; int result; const char *newVersion; };
    const Case cases[] = {
        {"Pelgrandix121.exe,a", "versie 1.20a", UpdateAdvised, "1.21a"},
        {"Pelgrandix120.exe,b", "versie 1.20a", UpdateAdvised, "1.20b"},
        {"Pelgrandix120.exe,a", "versie 1.20a", NoUpdateNeeded, "1.20a"},
        {"Pelgrandix119.exe,z", "versie 1.20a", NoUpdateNeeded, "1.19z"},
        // Digits compare as texts, character by character; a proper prefix is smaller.
        {"Pelgrandix99.exe,a", "versie 1.20a", UpdateAdvised, "9.9a"},
        {"Pelgrandix12.exe,z", "versie 1.20a", NoUpdateNeeded, "1.2z"},
        // No running letter counts as code 0; an empty letter field is code 0 too.
        {"Pelgrandix120.exe,a", "versie 1.20", UpdateAdvised, "1.20a"},
        {"Pelgrandix120.exe,a", "versie 1.20A", UpdateAdvised, "1.20a"},
        {"Pelgrandix120.exe,", "versie 1.20", NoUpdateNeeded, "1.20"},
        // A download name without a "." or without digits names no release.
        {"Pelgrandix121exe,z", "versie 1.20", NoUpdateNeeded, ""},
        {"Pelgrandix.exe,z", "", NoUpdateNeeded, ""},
    };
    for (const Case &c : cases) {
        const QString line = QStringLiteral("Pelgrandix,%1,2048,x\r\n").arg(QLatin1String(c.line));
        const Outcome o = evaluate(kOtherLine + line, QLatin1String(c.running));
        EXPECT_EQ(o.result, c.result) << c.line << " / " << c.running;
        EXPECT_EQ(o.newVersion, QLatin1String(c.newVersion)) << c.line << " / " << c.running;
        EXPECT_EQ(o.programStr, LeftOf(QLatin1Char(','), line.mid(11))) << c.line;
        EXPECT_EQ(o.sizeKB, 2048) << c.line;
    }
}

TEST(VersionList, FieldsSplitOnCommasWithCodeZeroForAnEmptyField)
{
    const QString nul(QChar(0));
    EXPECT_EQ(SplitVersionFields("a,,b"), (QStringList{"a", nul, "b"}));
    EXPECT_EQ(SplitVersionFields(",a"), (QStringList{nul, "a"}));
    EXPECT_EQ(SplitVersionFields("a,b,"), (QStringList{"a", "b"}));
    EXPECT_EQ(SplitVersionFields("a,,"), (QStringList{"a", nul}));
}

TEST(VersionList, ProgramLineIsReadUpToItsLengthAndFieldLimits)
{
    // Megabytes of commas made a field for each; only what a program line can hold is read.
    const QString commas(8 << 20, QLatin1Char(','));
    const QStringList fields = SplitVersionFields(ProgramLine("Pelgrandix" + commas, "Pelgrandix"));
    EXPECT_EQ(fields.size(), kMostVersionFields);
    EXPECT_EQ(ProgramLine("x Pelgrandix," + QString(5000, 'y') + "\r", "Pelgrandix").size(), kLongestProgramLine);
    EXPECT_EQ(SplitVersionFields(QString("a,").repeated(20)).size(), kMostVersionFields);
    EXPECT_EQ(evaluate(kOtherLine + "Pelgrandix,Pelgrandix121.exe,b,2048,x" + QString(",z").repeated(20)).result,
              UpdateAdvised);
}

TEST(VersionList, TooShortDefaultPageOrEmptyIsNotReceived)
{
    const QString line = QStringLiteral("Pelgrandix,Pelgrandix121.exe,b,2048,x,nieuw,new\r\n");
    ASSERT_EQ(line.size(), 49);
    EXPECT_EQ(evaluate(line).result, ListNotReceived);
    EXPECT_EQ(evaluate(line + "\n").result, UpdateAdvised);
    EXPECT_EQ(evaluate(QStringLiteral("Default.htm")).result, ListNotReceived);
    const Outcome empty = evaluate(QString());
    EXPECT_EQ(empty.result, ListNotReceived);
    EXPECT_TRUE(empty.downloaded);
    EXPECT_EQ(empty.programStr, "Pelgrandix");
}

TEST(VersionList, ProgramNotListedAsWrittenClearsDownloaded)
{
    const Outcome o = evaluate(kOtherLine + "pelgrandix,pelgrandix121.exe,b,2048,x\r\n");
    EXPECT_EQ(o.result, ProgramNotListed);
    EXPECT_FALSE(o.downloaded);
    EXPECT_EQ(o.programStr, "Pelgrandix");
}

TEST(VersionList, ProgramLineRunsFromTheFirstOccurrenceOfTheName)
{
    const QString line = QStringLiteral("Pelgrandix,Pelgrandix121.exe,b,2048,x,nieuw,new\r\n");
    const Outcome second = evaluate(kOtherLine + line);
    EXPECT_EQ(second.result, UpdateAdvised);
    EXPECT_EQ(second.programStr, "Pelgrandix121.exe");
    EXPECT_EQ(second.newVersion, "1.21b");
    EXPECT_EQ(second.remark, "nieuw");
    EXPECT_EQ(evaluate(kOtherLine + line, "versie 1.20a", "ENU").remark, "new");
    EXPECT_EQ(evaluate(kOtherLine + "Pelgrandix,Pelgrandix121.exe,b,2048,x,nieuw\r\n").remark, "");

    const Outcome inside = evaluate(
        "Koersbord,Koersbord300.exe,c,900,x,zie Pelgrandix,Pelgrandix119.exe,z,77,y\r\n" + line);
    EXPECT_EQ(inside.programStr, "Pelgrandix119.exe");
    EXPECT_EQ(inside.sizeKB, 77);

    // Without a carriage return the line runs to the end of the text.
    EXPECT_EQ(evaluate(kOtherLine + "Pelgrandix,Pelgrandix121.exe,b,2048,x,nl,en").remark, "nl");
}

TEST(VersionList, UnreadableProgramLineThrowsAndChangesNothing)
{
    for (const char *line : {"Pelgrandix,Pelgrandix121.exe,b,2048\r\n", "Pelgrandix\r\n",
                             "Pelgrandix,Pelgrandix121.exe,b,2 MB,x\r\n",
                             "Pelgrandix,Pelgrandix121.exe,b,,x\r\n"}) {
        QString programStr = QStringLiteral("Pelgrandix"), newVersion, remark;
        int sizeKB = 7;
        QByteArray sha256;
        bool downloaded = true;
        EXPECT_THROW(EvaluateVersionList(kOtherLine + line, programStr, newVersion, remark,
                                         "versie 1.20a", "NLD", sizeKB, sha256, downloaded),
                     ConversionError) << line;
        EXPECT_EQ(programStr, "Pelgrandix") << line;
        EXPECT_EQ(sizeKB, 7) << line;
    }
}

TEST(VersionList, SpareFieldGivesTheInstallersChecksumOnlyInItsExactForm)
{
    const QString digits = QStringLiteral("0123456789abcdef").repeated(4);
    const QString valid[] = {"sha256=" + digits, "sha256=" + digits.toUpper()};
    const QString ignored[] = {"x", "sha256=" + digits.left(63), "sha256=" + digits + "0",
                               "sha256=" + digits.left(63) + "g", "SHA256=" + digits};
    for (const QString &field : valid)
        EXPECT_EQ(evaluate(kOtherLine + "Pelgrandix,Pelgrandix121.exe,b,2048," + field).sha256, digits.toLatin1());
    for (const QString &field : ignored)
        EXPECT_EQ(evaluate(kOtherLine + "Pelgrandix,Pelgrandix121.exe,b,2048," + field).sha256, "")
            << field.toStdString();
}

TEST(VersionList, ResultTextsDutchForNldEnglishOtherwise)
{
    EXPECT_EQ(UpdateResultText(NoUpdateNeeded, "NLD"),
              (QStringList{"Een Update is niet nodig,", "u heeft de nieuwste versie."}));
    EXPECT_EQ(UpdateResultText(NoUpdateNeeded, ""),
              (QStringList{"No Update is needed,", "you are using the latest version."}));
    EXPECT_EQ(UpdateResultText(ProbeFailed, "NLD"), QStringList{"Er is iets niet goed gegaan"});
}
