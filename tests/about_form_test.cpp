#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <memory>

#include "about/about_form.h"
#include "about/contact.h"
#include "app/main_form.h"
#include "app/message_form.h"
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

class AboutFormTest : public ::testing::Test
{
protected:
    AboutFormTest()
    {
        mainForm = std::make_unique<TMainForm>();
        about = std::make_unique<TAboutForm>();
        message = std::make_unique<TMessageForm>();
    }
    ~AboutFormTest() override
    {
        QDesktopServices::unsetUrlHandler("mailto");
        QDesktopServices::unsetUrlHandler("http");
        sLanguage = QStringLiteral("NLD");
    }

    void showAbout()
    {
        about->show();
        ASSERT_TRUE(waitUntil([&] { return about->isVisible() && about->focusWidget(); }, 2000));
    }

    TempHome home;
    std::unique_ptr<TMainForm> mainForm;
    std::unique_ptr<TAboutForm> about;
    std::unique_ptr<TMessageForm> message;
};

} // namespace

TEST_F(AboutFormTest, DutchTextsFromTheMainWindow)
{
    EXPECT_EQ(AboutForm, about.get());
    EXPECT_EQ(about->windowTitle(), "Pelgrandix, versie 1.20a - Informatie");
    EXPECT_EQ(about->NameLabel->text(), "Pelgrandix");
    EXPECT_EQ(about->VersionLabel->text(), "versie 1.20a");
    EXPECT_EQ(about->CopyrightLabel->text(), mainForm->Copyright);
    EXPECT_EQ(about->Label1->text(), "Pelgrandix geeft aan- en verkooptips");
    EXPECT_EQ(about->Label2->text(), "bij het beleggen met Opties.");
    EXPECT_EQ(about->OKBtn->toolTip(), "Terug naar het beginvenster");
    EXPECT_EQ(about->OKBtn1->toolTip(), "Terug naar het beginvenster");
    EXPECT_EQ(about->MailBtn->toolTip(), "Stuur uw opmerkingen naar de auteur van Pelgrandix");
    EXPECT_EQ(about->HomeBtn->toolTip(), "Download de nieuwste versie van Pelgrandix");
    EXPECT_EQ(about->AuthorBtn->toolTip(), "Toon auteur");
    EXPECT_EQ(about->MailMemo->lines(), MailBodyLines("NLD", "Pelgrandix"));
    EXPECT_EQ(about->AuthorMemo->lines(), AuthorLines("NLD", "Pelgrandix"));
}

TEST_F(AboutFormTest, EnglishTextsWhenTheLanguageCodeIsAnotherAtCreation)
{
    sLanguage = QStringLiteral("ENG");
    TAboutForm english;
    EXPECT_EQ(english.windowTitle(), "Pelgrandix, versie 1.20a - Information");
    EXPECT_EQ(english.Label1->text(), "Pelgrandix gives buy and sell tips");
    EXPECT_EQ(english.Label2->text(), "when investing in options.");
    EXPECT_EQ(english.OKBtn->toolTip(), "Back to the main window");
    EXPECT_EQ(english.MailBtn->toolTip(), "Send you remarks to the author of Pelgrandix");
    EXPECT_EQ(english.HomeBtn->toolTip(), "Download the newest version of Pelgrandix");
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
    EXPECT_EQ(about->OKBtn1->x(), about->OKBtn->x());
    EXPECT_EQ(about->OKBtn1->y(), about->OKBtn->y());
    const QRect bevel = about->Bevel3->geometry();
    EXPECT_TRUE(bevel.contains(about->AuthorBtn->geometry())) << "button at the frame's right end";
    EXPECT_GT(about->AuthorBtn->x(), bevel.center().x());
    EXPECT_EQ(about->CopyrightLabel->geometry().center().x(), bevel.center().x());
}

TEST_F(AboutFormTest, OpensOnTheMainViewWithEnterGoingToOk)
{
    int result = -1;
    QWidget *focused = nullptr;
    QTimer::singleShot(0, about.get(), [&] {
        if (!waitUntil([&] { return about->isVisible() && QApplication::focusWidget(); }, 2000))
            return about->reject();
        focused = QApplication::focusWidget();
        QTest::keyClick(focused, Qt::Key_Escape);  // no cancel button: stays open
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    result = about->exec();
    EXPECT_EQ(focused, about->MainPanel);
    EXPECT_EQ(result, QDialog::Accepted);
}

TEST_F(AboutFormTest, AuthorViewAndBackRestoresTheMainCaptionAndCloses)
{
    QString authorCaption;
    bool mainHidden = false, memoShown = false;
    QTimer::singleShot(0, about.get(), [&] {
        if (!waitUntil([&] { return about->isVisible(); }, 2000))
            return about->reject();
        QTest::mouseClick(about->AuthorBtn, Qt::LeftButton);
        authorCaption = about->windowTitle();
        mainHidden = !about->MainPanel->isVisible();
        memoShown = about->AuthorMemo->isVisible() && about->OKBtn1->isVisible();
        QTest::mouseClick(about->OKBtn1, Qt::LeftButton);
    });
    EXPECT_EQ(about->exec(), QDialog::Accepted);
    EXPECT_EQ(authorCaption, "Pelgrandix - Auteur");
    EXPECT_TRUE(mainHidden);
    EXPECT_TRUE(memoShown);
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), "Pelgrandix, versie 1.20a - Informatie");
    EXPECT_FALSE(about->MainPanel->isHidden());
}

TEST_F(AboutFormTest, ClosedFromTheAuthorViewStillStartsInTheMainViewNextTime)
{
    showAbout();
    about->AuthorBtnClick();
    about->close();
    EXPECT_FALSE(about->MainPanel->isHidden());
    EXPECT_EQ(about->windowTitle(), "Pelgrandix, versie 1.20a - Informatie");
}

TEST_F(AboutFormTest, MailReachesTheHandlerWithSubjectAndBodyIntact)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("mailto", &catcher, "take");
    showAbout();
    QTest::mouseClick(about->MailBtn, Qt::LeftButton);
    ASSERT_EQ(catcher.urls.size(), 1);
    const QUrl url = catcher.urls.first();
    EXPECT_EQ(url.scheme(), "mailto");
    EXPECT_EQ(url.path(), "morin@rondel.example");
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue("Subject", QUrl::FullyDecoded), "Programma Pelgrandix, versie 1.20a");
    const QString body = query.queryItemValue("Body", QUrl::FullyDecoded);
    EXPECT_EQ(body, MailBodyLines("NLD", "Pelgrandix").join("\r\n"));
    EXPECT_TRUE(body.startsWith("Hallo Morin\r\n\r\n\r\nIk vond op je Home Page"));
    EXPECT_EQ(body.count("\r\n"), 11);
    EXPECT_TRUE(body.endsWith("\r\nMet vriendelijke groet,"));
    EXPECT_FALSE(message->isVisible()) << "success shows nothing";
    EXPECT_TRUE(about->isVisible());
}

TEST_F(AboutFormTest, MailWithoutAHandlerShowsTheFailureOverTheWindow)
{
    showAbout();
    QTest::mouseClick(about->MailBtn, Qt::LeftButton);
    ASSERT_TRUE(message->isVisible());
    EXPECT_EQ(message->MessageMemo->lines(), QStringList({"E-mail is in de fout gegaan."}));
    EXPECT_EQ(message->Timer->interval(), 3000);
    const QRect over = about->frameGeometry();
    EXPECT_EQ(message->geometry().center().y() - over.center().y(), 0);
    EXPECT_LE(std::abs(message->geometry().center().x() - over.center().x()), 1);
    EXPECT_TRUE(about->isVisible());
}

TEST_F(AboutFormTest, HomeOpensTheDownloadPageOrSaysTheBrowserFailed)
{
    showAbout();
    QTest::mouseClick(about->HomeBtn, Qt::LeftButton);
    ASSERT_TRUE(message->isVisible());
    EXPECT_EQ(message->MessageMemo->lines(), QStringList({"Browser niet geopend."}));
    message->close();

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("http", &catcher, "take");
    QTest::mouseClick(about->HomeBtn, Qt::LeftButton);
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls.first(), QUrl(DownloadPageAddress("Pelgrandix")));
    EXPECT_EQ(catcher.urls.first().fragment(), "Pelgrandix");
    EXPECT_EQ(catcher.urls.first().path(), "/downloads_n.html");
    EXPECT_FALSE(message->isVisible());
}

#include "about_form_test.moc"
