#include "about/about_form.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QUrl>

#include "about/contact.h"
#include "app/dialog_geometry.h"
#include "app/message_form.h"
#include "platform/desktop_handler.h"
#include "support/system_info.h"

TAboutForm *AboutForm = nullptr;

namespace {

constexpr int kMargin = 16;
constexpr int kBevel3Top = 118;
constexpr int kBevel3Height = 34;
constexpr int kBevel3MinWidth = 460;
constexpr int kAuthorBtnSize = 24;
constexpr int kBevel2Top = 164;
constexpr int kBevel2Height = 58;
constexpr int kButtonTop = 236;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 28;
constexpr int kClientHeight = kButtonTop + kButtonHeight + kMargin;

// A small bust with an "i" beside it: who wrote the program.
QIcon authorIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 70, 160));
    painter.drawEllipse(QRectF(2.5, 1.5, 6, 6));
    painter.drawChord(QRectF(0.5, 8.5, 10, 12), 0, 180 * 16);
    painter.setBrush(QColor(200, 40, 40));
    painter.drawEllipse(QRectF(12, 1, 3, 3));
    painter.drawRect(QRectF(12, 5.5, 3, 9));
    return QIcon(pixmap);
}

QFrame *bevel(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

} // namespace

TAboutForm::TAboutForm(const ProgramIdentity &identity, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_identity(identity)
{
    AboutForm = this;
    buildControls();
    FormCreate();
}

TAboutForm::~TAboutForm()
{
    if (AboutForm == this)
        AboutForm = nullptr;
}

void TAboutForm::buildControls()
{
    setFont(QFont(QStringLiteral("Verdana"), 9));

    Panel1 = new QFrame(this);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    AuthorMemo = new MemoWidget(Panel1);
    AuthorMemo->setCentred(true);
    AuthorMemo->setFocusPolicy(Qt::NoFocus);
    OKBtn1 = new QPushButton(QStringLiteral("OK"), Panel1);

    MainPanel = new QFrame(this);
    MainPanel->setFrameShape(QFrame::Panel);
    MainPanel->setFrameShadow(QFrame::Sunken);
    MainPanel->setLineWidth(2);
    // Opaque, so that the author view beneath shows only when this panel is hidden.
    MainPanel->setAutoFillBackground(true);

    NameLabel = new QLabel(MainPanel);
    NameLabel->setAlignment(Qt::AlignCenter);
    QFont nameFont(QStringLiteral("Arial"));
    nameFont.setPixelSize(60);
    nameFont.setBold(true);
    nameFont.setItalic(true);
    NameLabel->setFont(nameFont);
    VersionLabel = new QLabel(MainPanel);
    VersionLabel->setAlignment(Qt::AlignCenter);

    Bevel3 = bevel(MainPanel);
    Bevel2 = bevel(MainPanel);

    QFont copyrightFont(QStringLiteral("Arial"));
    copyrightFont.setPixelSize(15);
    CopyrightLabel = new QLabel(MainPanel);
    CopyrightLabel->setFont(copyrightFont);
    CopyrightLabel->setAlignment(Qt::AlignCenter);
    AuthorBtn = new QToolButton(MainPanel);
    AuthorBtn->setIcon(authorIcon());
    AuthorBtn->setIconSize(QSize(16, 16));
    AuthorBtn->setToolTip(QStringLiteral("Toon auteur"));

    Label1 = new QLabel(MainPanel);
    Label2 = new QLabel(MainPanel);
    Label1->setAlignment(Qt::AlignCenter);
    Label2->setAlignment(Qt::AlignCenter);

    MailBtn = new QPushButton(QStringLiteral("Mail"), MainPanel);
    OKBtn = new QPushButton(QStringLiteral("OK"), MainPanel);
    HomeBtn = new QPushButton(QStringLiteral("Home"), MainPanel);
    OKBtn->setDefault(true);
    MailBtn->setGeometry(kMargin, kButtonTop, kButtonWidth, kButtonHeight);
    OKBtn->setGeometry(0, kButtonTop, kButtonWidth, kButtonHeight);
    HomeBtn->setGeometry(0, kButtonTop, kButtonWidth, kButtonHeight);
    OKBtn1->setGeometry(0, kButtonTop, kButtonWidth, kButtonHeight);

    MailMemo = new MemoWidget(MainPanel);
    MailMemo->hide();

    MainPanel->installEventFilter(this);
    Panel1->installEventFilter(this);

    connect(AuthorBtn, &QToolButton::clicked, this, &TAboutForm::AuthorBtnClick);
    connect(OKBtn1, &QPushButton::clicked, this, &TAboutForm::OKBtn1Click);
    connect(MailBtn, &QPushButton::clicked, this, &TAboutForm::MailBtnClick);
    connect(HomeBtn, &QPushButton::clicked, this, &TAboutForm::HomeBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutForm::FormCreate()
{
    const bool dutch = sLanguage == QLatin1String("NLD");
    const QString progNam = m_identity.name;

    NameLabel->setText(progNam);
    VersionLabel->setText(m_identity.version);
    CopyrightLabel->setText(m_identity.copyright);

    m_mainCaption = m_identity.caption()
                    + (dutch ? QStringLiteral(" - Informatie") : QStringLiteral(" - Information"));
    m_authorCaption = progNam + (dutch ? QStringLiteral(" - Auteur") : QStringLiteral(" - Author"));
    setWindowTitle(m_mainCaption);
    const QString backHint = dutch ? QStringLiteral("Terug naar het beginvenster")
                                   : QStringLiteral("Back to the main window");
    OKBtn->setToolTip(backHint);
    OKBtn1->setToolTip(backHint);
    MailBtn->setToolTip(dutch ? QStringLiteral("Stuur uw opmerkingen naar de auteur van ") + progNam
                              : QStringLiteral("Send you remarks to the author of ") + progNam);
    HomeBtn->setToolTip(dutch ? QStringLiteral("Download de nieuwste versie van ") + progNam
                              : QStringLiteral("Download the newest version of ") + progNam);
    Label1->setText(dutch ? progNam + QStringLiteral(" geeft aan- en verkooptips")
                          : progNam + QStringLiteral(" gives buy and sell tips"));
    Label2->setText(dutch ? QStringLiteral("bij het beleggen met Opties.")
                          : QStringLiteral("when investing in options."));

    MailMemo->setLines(MailBodyLines(sLanguage, progNam));
    AuthorMemo->setLines(AuthorLines(sLanguage, progNam));

    // The frame around the notice is wide enough for the notice, centred between room for the
    // author button on either side; the window keeps equal margins around it.
    const int buttonRoom = kAuthorBtnSize + 8;
    const int bevelWidth = qMax(kBevel3MinWidth,
                                CopyrightLabel->fontMetrics().horizontalAdvance(m_identity.copyright)
                                    + 2 * buttonRoom + 8);
    Bevel3->setGeometry(kMargin, kBevel3Top, bevelWidth, kBevel3Height);
    CopyrightLabel->setGeometry(kMargin + buttonRoom, kBevel3Top + 2, bevelWidth - 2 * buttonRoom,
                                kBevel3Height - 4);
    AuthorBtn->setGeometry(kMargin + bevelWidth - kAuthorBtnSize - 5,
                           kBevel3Top + (kBevel3Height - kAuthorBtnSize) / 2, kAuthorBtnSize,
                           kAuthorBtnSize);
    Bevel2->setGeometry(kMargin, kBevel2Top, bevelWidth, kBevel2Height);
    Label1->setGeometry(kMargin + 4, kBevel2Top + 8, bevelWidth - 8, 20);
    Label2->setGeometry(kMargin + 4, kBevel2Top + 30, bevelWidth - 8, 20);

    const AboutLayout l = aboutLayout(Bevel3->x(), Bevel3->width(), MailBtn->x(), HomeBtn->width(),
                                      OKBtn->width());
    setFixedSize(l.clientWidth, kClientHeight);
    MainPanel->setGeometry(0, 0, l.clientWidth, kClientHeight);
    Panel1->setGeometry(0, 0, l.clientWidth, kClientHeight);
    NameLabel->setGeometry(0, 14, l.clientWidth, 70);
    VersionLabel->setGeometry(0, 88, l.clientWidth, 20);
    AuthorMemo->setGeometry(kMargin, kMargin, l.clientWidth - 2 * kMargin,
                            kButtonTop - 2 * kMargin);
    HomeBtn->move(l.homeLeft, kButtonTop);
    OKBtn->move(l.okLeft, kButtonTop);
    OKBtn1->move(l.ok1Left, kButtonTop);
}

void TAboutForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_paintedSinceShow = false;
    if (QScreen *s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
}

bool TAboutForm::eventFilter(QObject *watched, QEvent *event)
{
    // The two panels cover the whole window, so their paints are the window's paints. Only the
    // first of a showing counts: later ones come with every button that redraws, and taking
    // the focus then would undo the user's own moves with Tab.
    if (event->type() == QEvent::Paint && (watched == MainPanel || watched == Panel1)
        && !m_paintedSinceShow) {
        m_paintedSinceShow = true;
        FormPaint();
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutForm::FormPaint()
{
    // With no button focused, Enter goes to the default OK button.
    if (Panel1->isVisible() && MainPanel->isVisible())
        MainPanel->setFocus(Qt::OtherFocusReason);
}

void TAboutForm::keyPressEvent(QKeyEvent *event)
{
    // The window has no cancel button: Escape does not close it.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void TAboutForm::AuthorBtnClick()
{
    MainPanel->hide();
    setWindowTitle(m_authorCaption);
    OKBtn1->setDefault(true);
    OKBtn1->setFocus(Qt::OtherFocusReason);
}

void TAboutForm::OKBtn1Click()
{
    showMainView();
    accept();
}

void TAboutForm::showMainView()
{
    setWindowTitle(m_mainCaption);
    MainPanel->show();
    OKBtn->setDefault(true);
}

void TAboutForm::done(int result)
{
    // However the window closes, the next showing starts in the main view.
    if (MainPanel->isHidden())
        showMainView();
    QDialog::done(result);
}

void TAboutForm::MailBtnClick()
{
    const bool dutch = sLanguage == QLatin1String("NLD");
    openAddress(MailAddressText(MailMemo->lines(), m_identity.name, m_identity.version),
                dutch ? QStringLiteral("E-mail is in de fout gegaan.")
                      : QStringLiteral("Error sending E-mail."));
}

void TAboutForm::HomeBtnClick()
{
    const bool dutch = sLanguage == QLatin1String("NLD");
    openAddress(DownloadPageAddress(m_identity.name),
                dutch ? QStringLiteral("Browser niet geopend.") : QStringLiteral("Browser not opened."));
}

void TAboutForm::openAddress(const QString &address, const QString &failureText)
{
    // Tolerant parsing keeps the text as written: blanks become %20 and the encoded line breaks
    // stay encoded, so the handler decodes exactly the subject and body composed here.
    const QUrl url(address, QUrl::TolerantMode);
    if (platform::desktopHandlesScheme(url.scheme()) && QDesktopServices::openUrl(url))
        return;
    const QRect frame = frameGeometry();
    if (MessageForm)
        MessageForm->Execute(frame.y(), frame.x(), frame.height(), frame.width(), failureText,
                             QString(), 3000);
}
