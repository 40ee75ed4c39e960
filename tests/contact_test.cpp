#include <gtest/gtest.h>

#include "about/contact.h"
#include "support/scoped_env.h"

TEST(MailAddressText, DutchBodyJoinsTwelveLinesWithElevenEncodedBreaksAndNothingElse)
{
    const QString text = MailAddressText(MailBodyLines("NLD", "Pelgrandix"), "Pelgrandix",
                                         "versie 1.20a");
    const QString head = "mailto:morin@rondel.example?Subject=Programma Pelgrandix, versie 1.20a&Body=";
    ASSERT_TRUE(text.startsWith(head)) << text.toStdString();
    const QString body = text.mid(head.size());
    EXPECT_TRUE(body.startsWith("Hallo Morin%0D%0A%0D%0A%0D%0AIk vond op je Home Page het programma "
                                "Pelgrandix.%0D%0A"));
    EXPECT_EQ(body.count("%0D%0A"), 11);
    EXPECT_EQ(body.count('%'), 22);
    EXPECT_TRUE(body.endsWith("%0D%0AMet vriendelijke groet,"));
    EXPECT_EQ(MailAddressText({}, "P", "v2"), "mailto:morin@rondel.example?Subject=Programma P, v2&Body=");
    EXPECT_EQ(MailBodyLines("ENG", "P").size(), 12);
}

TEST(DownloadPageAddress, MakerPageWithTheProgramAsFragment)
{
    EXPECT_EQ(DownloadPageAddress("maker.test:8080", "Pelgrandix"),
              "http://maker.test:8080/downloads_n.html#Pelgrandix");
    {
        ScopedEnv unset("PELGRANDIX_MAKER_HOST", std::nullopt);
        EXPECT_EQ(DownloadPageAddress("Pelgrandix"), "http://127.0.0.1:8470/downloads_n.html#Pelgrandix");
    }
    ScopedEnv set("PELGRANDIX_MAKER_HOST", QByteArray("127.0.0.1:9999"));
    EXPECT_EQ(DownloadPageAddress("Pelgrandix"), "http://127.0.0.1:9999/downloads_n.html#Pelgrandix");
}
