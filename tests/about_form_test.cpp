#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <memory>

#include "about/about_form.h"
#include "app/main_form.h"
#include "app/main_form_windows.h"
#include "app/message_form.h"
#include "book/positions_book.h"
#include "support/program_state.h"
#include "support/scoped_env.h"
#include "support/system_info.h"
#include "support/temp_home.h"
#include "support/wait_until.h"

namespace {

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void take(const QUrl &url) { urls << url; }
};

// The main window and the language switch change program-wide values; the base puts them back.
class AboutFormTest : public ProgramStateTest
{
protected:
    ~AboutFormTest() override
    {
        QDesktopServices::unsetUrlHandler("mailto");
        QDesktopServices::unsetUrlHandler("http");
    }

    // The desktop of the home folder names a program for the scheme, as a desktop entry with
    // its address kind does; the machine's own registrations are out of sight.
    void desktopHandles(const QByteArray &scheme)
    {
        home.writeFile(".local/share/applications/pelgrandix-test-" + scheme + ".desktop",
                       "[Desktop Entry]\nType=Application\nName=Test\nExec=/bin/true %u\n"
                       "MimeType=x-scheme-handler/" + scheme + ";\n");
    }
    // Opening addresses ends with the catcher whenever the desktop lets it get that far.
    void catchOpenedAddresses()
    {
        QDesktopServices::setUrlHandler("mailto", &catcher, "take");
        QDesktopServices::setUrlHandler("http", &catcher, "take");
    }

    // Runs the steps while the window is up modally; returns its result.
    int execWith(const std::function<void()> &steps)
    {
        QTimer::singleShot(0, about.get(), [this, steps] {
            if (!waitUntil([this] { return QApplication::activeWindow() == about.get(); }))
                return about->reject();
            steps();
        });
        return about->exec();
    }

    TempHome home;
    QTemporaryDir noSystemDesktop;
    ScopedEnv systemData{"XDG_DATA_DIRS", QFile::encodeName(noSystemDesktop.path())};
    ScopedEnv systemConfig{"XDG_CONFIG_DIRS", QFile::encodeName(noSystemDesktop.path())};
    ScopedEnv desktopKind{"XDG_CURRENT_DESKTOP", std::nullopt};
    ScopedEnv desktopSession{"DESKTOP_SESSION", std::nullopt};
    PositionsBook book{QStringLiteral("Pelgrandix")};
    std::unique_ptr<TMainForm> mainForm = std::make_unique<TMainForm>(book);
    std::unique_ptr<TAboutForm> about = MakeAboutForm(*mainForm);
    std::unique_ptr<TMessageForm> message = std::make_unique<TMessageForm>();
    UrlCatcher catcher;
};

} // namespace

TEST_F(AboutFormTest, TextsFollowTheLanguageCodeAtCreation)
{
    EXPECT_EQ(AboutForm, about.get());
    EXPECT_EQ(about->windowTitle(), "Pelgrandix, versie 1.20a - Informatie");
    EXPECT_EQ(QStringList({about->NameLabel->text(), about->VersionLabel->text(),
                           about->CopyrightLabel->text()}),
              QStringList({"Pelgrandix", "versie 1.20a", mainForm->Copyright}));
    EXPECT_EQ(about->Label1->text(), "Pelgrandix geeft aan- en verkooptips");
    EXPECT_EQ(about->MailBtn->toolTip(), "Stuur uw opmerkingen naar de auteur van Pelgrandix");
    EXPECT_EQ(about->OKBtn1->toolTip(), "Terug naar het beginvenster");
    EXPECT_EQ(about->AuthorMemo->lines(),
              QStringList({"", "Het programma Pelgrandix is geschreven door:", "", "Morin van Rondel",
                           "Keizersgracht 123", "1015 CJ Amsterdam", "020 - 123 45 67", "",
                           "morin@rondel.example", "http://www.rondel.example", "",
                           "Mail, bel of schrijf voor nadere informatie!"}));

    sLanguage = QStringLiteral("ENG");
    TAboutForm english(mainForm->identity());
    EXPECT_EQ(english.windowTitle(), "Pelgrandix, versie 1.20a - Information");
    EXPECT_EQ(english.Label2->text(), "when investing in options.");
    EXPECT_EQ(english.HomeBtn->toolTip(), "Download the newest version of Pelgrandix");
    EXPECT_EQ(english.MailMemo->lines(),
              QStringList({"Hi Morin", "", "", "On you Home Page I found the program Pelgrandix.", "",
                           "I want to comment on this program:", "", "", "", "", "", "Kind regards,"}));
    EXPECT_EQ(english.AuthorMemo->lines()[5], "1015 CJ Amsterdam, The Netherlands");
    english.AuthorBtnClick();
    EXPECT_EQ(english.windowTitle(), "Pelgrandix - Author");
}

TEST_F(AboutFormTest, ButtonRowMirrorsAndCentresInsideEqualMargins)
{
    const int clientWidth = about->width();
    EXPECT_EQ(clientWidth, 2 * about->Bevel3->x() + about->Bevel3->width());
    EXPECT_EQ(clientWidth - about->HomeBtn->geometry().right() - 1, about->MailBtn->x());
    EXPECT_EQ(about->OKBtn->x(), (clientWidth - about->OKBtn->width()) / 2);
    EXPECT_EQ(about->OKBtn1->geometry(), about->OKBtn->geometry());
    const QRect bevel = about->Bevel3->geometry();
    EXPECT_TRUE(bevel.contains(about->AuthorBtn->geometry()));
    EXPECT_GT(about->AuthorBtn->x(), bevel.center().x());
    EXPECT_EQ(about->CopyrightLabel->geometry().center().x(), bevel.center().x());
}

TEST_F(AboutFormTest, OpensOnTheMainViewWhereEnterMeansOkAndEscapeNothing)
{
    QWidget *focused = nullptr;
    const int result = execWith([&] {
        // The first paint of the showing hands the focus to the panel.
        waitUntil([&] { return QApplication::focusWidget() == about->MainPanel; });
        focused = QApplication::focusWidget();
        QTest::keyClick(focused, Qt::Key_Escape);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(focused, about->MainPanel);
    EXPECT_EQ(result, QDialog::Accepted);
}

TEST_F(AboutFormTest, AuthorViewAndBackRestoresTheMainCaptionAndCloses)
{
    QString authorCaption;
    bool authorViewShown = false;
    const int result = execWith([&] {
        QTest::mouseClick(about->AuthorBtn, Qt::LeftButton);
        authorCaption = about->windowTitle();
        authorViewShown = !about->MainPanel->isVisible() && about->AuthorMemo->isVisible();
        QTest::mouseClick(about->OKBtn1, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(authorCaption, "Pelgrandix - Auteur");
    EXPECT_TRUE(authorViewShown);
    EXPECT_EQ(about->windowTitle(), "Pelgrandix, versie 1.20a - Informatie");
    EXPECT_FALSE(about->MainPanel->isHidden());

    // Closed another way from the author view, the next showing still starts in the main view.
    execWith([&] {
        about->AuthorBtnClick();
        about->close();
    });
    EXPECT_FALSE(about->MainPanel->isHidden());
    EXPECT_EQ(about->windowTitle(), "Pelgrandix, versie 1.20a - Informatie");
}

TEST_F(AboutFormTest, MailReachesTheHandlerWithSubjectAndBodyIntact)
{
    desktopHandles("mailto");
    catchOpenedAddresses();
    about->show();
    QTest::mouseClick(about->MailBtn, Qt::LeftButton);
    ASSERT_EQ(catcher.urls.size(), 1);
    const QUrl url = catcher.urls.first();
    EXPECT_EQ(url.scheme() + ":" + url.path(), "mailto:morin@rondel.example");
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue("Subject", QUrl::FullyDecoded), "Programma Pelgrandix, versie 1.20a");
    const QString body = query.queryItemValue("Body", QUrl::FullyDecoded);
    EXPECT_EQ(body, "Hallo Morin\r\n\r\n\r\nIk vond op je Home Page het programma Pelgrandix.\r\n\r\n"
                    "Ik wil hierover het volgende kwijt:\r\n\r\n\r\n\r\n\r\n\r\nMet vriendelijke groet,");
    EXPECT_FALSE(message->isVisible()) << "success shows nothing";
}

TEST_F(AboutFormTest, WithoutAHandlerTheFailureShowsOverTheWindow)
{
    // The desktop names no program for either address: the opener would start and report
    // success, but nothing would open.
    catchOpenedAddresses();
    about->show();
    QTest::mouseClick(about->MailBtn, Qt::LeftButton);
    ASSERT_TRUE(message->isVisible());
    EXPECT_EQ(message->MessageMemo->lines(), QStringList({"E-mail is in de fout gegaan."}));
    EXPECT_EQ(message->Timer->interval(), 3000);
    const QRect over = about->frameGeometry();
    EXPECT_EQ(message->geometry().center().y(), over.center().y());
    EXPECT_LE(std::abs(message->geometry().center().x() - over.center().x()), 1);
    EXPECT_TRUE(about->isVisible());

    message->close();
    QTest::mouseClick(about->HomeBtn, Qt::LeftButton);
    EXPECT_EQ(message->MessageMemo->lines(), QStringList({"Browser niet geopend."}));
    EXPECT_TRUE(catcher.urls.isEmpty());

    // A program for mail says nothing about one for web pages.
    desktopHandles("mailto");
    message->close();
    QTest::mouseClick(about->HomeBtn, Qt::LeftButton);
    EXPECT_TRUE(message->isVisible());
    EXPECT_TRUE(catcher.urls.isEmpty());
}

TEST_F(AboutFormTest, HomeOpensTheDownloadPageWithTheProgramAsFragment)
{
    ScopedEnv makerHost("PELGRANDIX_MAKER_HOST", QByteArray("maker.test:8080"));
    desktopHandles("http");
    catchOpenedAddresses();
    about->show();
    QTest::mouseClick(about->HomeBtn, Qt::LeftButton);
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls.first(), QUrl("http://maker.test:8080/downloads_n.html#Pelgrandix"));
    EXPECT_FALSE(message->isVisible());
}

#include "about_form_test.moc"
