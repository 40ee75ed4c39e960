#include <gtest/gtest.h>

#include "about/contact.h"

TEST(MailAddressText, DutchBodyJoinsTwelveLinesWithElevenEncodedBreaks)
{
    const QString text = MailAddressText(MailBodyLines("NLD", "Pelgrandix"), "Pelgrandix",
                                         "versie 1.20a");
    const QString head = "mailto:morin@rondel.example?Subject=Programma Pelgrandix, versie 1.20a&Body=";
    ASSERT_TRUE(text.startsWith(head)) << text.toStdString();
    const QString body = text.mid(head.size());
    EXPECT_TRUE(body.startsWith("Hallo Morin%0D%0A%0D%0A%0D%0A"
                                "Ik vond op je Home Page het programma Pelgrandix.%0D%0A"))
        << body.toStdString();
    EXPECT_EQ(body.count("%0D%0A"), 11);
    EXPECT_TRUE(body.endsWith("%0D%0AMet vriendelijke groet,")) << body.toStdString();
    EXPECT_EQ(body.count('%'), 22) << "nothing but the line breaks is encoded";
    EXPECT_EQ(text.count('&'), 1);
}

TEST(MailAddressText, SubjectIsTheSameInBothLanguagesAndTakesTheGivenLines)
{
    const QString text = MailAddressText({"a b", "c,d"}, "Prog", "v2");
    EXPECT_EQ(text, "mailto:morin@rondel.example?Subject=Programma Prog, v2&Body=a b%0D%0Ac,d");
    EXPECT_EQ(MailAddressText({}, "Prog", "v2"),
              "mailto:morin@rondel.example?Subject=Programma Prog, v2&Body=");
}

TEST(MailBodyLines, BothLanguagesHaveTwelveLinesInTheSamePlaces)
{
    const QStringList dutch = MailBodyLines("NLD", "Pelgrandix");
    const QStringList english = MailBodyLines("ENG", "Pelgrandix");
    ASSERT_EQ(dutch.size(), 12);
    ASSERT_EQ(english.size(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(dutch[i].isEmpty(), english[i].isEmpty()) << "line " << i + 1;
    EXPECT_EQ(english[0], "Hi Morin");
    EXPECT_EQ(english[3], "On you Home Page I found the program Pelgrandix.");
    EXPECT_EQ(english[5], "I want to comment on this program:");
    EXPECT_EQ(english[11], "Kind regards,");
    EXPECT_EQ(dutch[5], "Ik wil hierover het volgende kwijt:");
}

TEST(AuthorLines, LanguageChoosesPlaceAndTelephoneForm)
{
    const QStringList dutch = AuthorLines("NLD", "Pelgrandix");
    const QStringList english = AuthorLines("", "Pelgrandix");
    ASSERT_EQ(dutch.size(), 12);
    ASSERT_EQ(english.size(), 12);
    EXPECT_EQ(dutch[1], "Het programma Pelgrandix is geschreven door:");
    EXPECT_EQ(english[1], "The program Pelgrandix has been written by:");
    EXPECT_EQ(dutch[5], "1015 CJ Amsterdam");
    EXPECT_EQ(english[5], "1015 CJ Amsterdam, The Netherlands");
    EXPECT_EQ(dutch[6], "020 - 123 45 67");
    EXPECT_EQ(english[6], "+31 20 123 45 67");
    EXPECT_EQ(dutch[8], AuthorMailAddress());
    EXPECT_EQ(english[8], AuthorMailAddress());
    EXPECT_EQ(dutch[11], "Mail, bel of schrijf voor nadere informatie!");
    EXPECT_EQ(english[11], "Mail or write for further information!");
    for (int i : {0, 2, 7, 10})
        EXPECT_TRUE(dutch[i].isEmpty() && english[i].isEmpty()) << "line " << i + 1;
}

TEST(DownloadPageAddress, MakerPageWithTheProgramAsFragment)
{
    EXPECT_EQ(DownloadPageAddress("maker.test:8080", "Pelgrandix"),
              "http://maker.test:8080/downloads_n.html#Pelgrandix");

    const QByteArray old = qgetenv("PELGRANDIX_MAKER_HOST");
    const bool wasSet = qEnvironmentVariableIsSet("PELGRANDIX_MAKER_HOST");
    qunsetenv("PELGRANDIX_MAKER_HOST");
    EXPECT_EQ(DownloadPageAddress("Pelgrandix"), "http://127.0.0.1:8470/downloads_n.html#Pelgrandix");
    qputenv("PELGRANDIX_MAKER_HOST", "127.0.0.1:9999");
    EXPECT_EQ(DownloadPageAddress("Pelgrandix"), "http://127.0.0.1:9999/downloads_n.html#Pelgrandix");
    if (wasSet)
        qputenv("PELGRANDIX_MAKER_HOST", old);
    else
        qunsetenv("PELGRANDIX_MAKER_HOST");
}
