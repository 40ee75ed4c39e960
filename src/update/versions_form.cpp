#include "update/versions_form.h"

#include <QApplication>
#include <QDir>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QVBoxLayout>
#include <QWindow>

#include "app/plain_text_box_widget.h"
#include "support/conversion_error.h"
#include "support/system_info.h"
#include "support/text_routines.h"
#include "update/installer.h"
#include "update/package_install.h"
#include "update/process_control.h"
#include "update/update_check.h"
#include "update/update_state.h"
#include "update/version_list.h"

TVersionsForm *VersionsForm = nullptr;

namespace {

constexpr int kPanelHeight = 99;
constexpr int kCompanionStopLimitMs = 5000;

bool dutch()
{
    return sLanguage == QLatin1String("NLD");
}

// The hourglass while a check blocks the window; the usual cursor again however the check ends.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// Set while an installer comes in, whichever way the download ends.
class BusyFlag
{
public:
    explicit BusyFlag(bool &flag) : m_flag(flag) { m_flag = true; }
    ~BusyFlag() { m_flag = false; }
    BusyFlag(const BusyFlag &) = delete;
    BusyFlag &operator=(const BusyFlag &) = delete;

private:
    bool &m_flag;
};

} // namespace

TVersionsForm::TVersionsForm(const ProgramIdentity &identity, ProgramCloser &program, QWidget *parent)
    : QWidget(parent), m_identity(identity), m_program(program)
{
    VersionsForm = this;
    buildControls();
    FormCreate();
}

TVersionsForm::~TVersionsForm()
{
    if (VersionsForm == this)
        VersionsForm = nullptr;
}

void TVersionsForm::buildControls()
{
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(17);
    setFont(font);
    move(383, 394);
    resize(437, 309);

    Memo1 = new QTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setAcceptRichText(false);

    Panel1 = new QFrame(this);
    Panel1->setFixedHeight(kPanelHeight);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Gauge1 = new QProgressBar(Panel1);
    Gauge1->setGeometry(15, 12, 405, 20);
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->hide();
    DownloadBtn = new QPushButton(QStringLiteral("Start Download"), Panel1);
    DownloadBtn->setGeometry(26, 45, 176, 41);
    DownloadBtn->hide();
    ExitBtn = new QPushButton(QStringLiteral("Sluit venster"), Panel1);
    ExitBtn->setGeometry(234, 45, 176, 41);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Memo1, 1);
    column->addWidget(Panel1);

    connect(DownloadBtn, &QPushButton::clicked, this, [this] { DownloadBtnClick(); });
    connect(ExitBtn, &QPushButton::clicked, this, [this] { ExitBtnClick(); });
}

void TVersionsForm::FormCreate()
{
    FirstB = true;
    HomeDir = QDir::currentPath();
    if (!HomeDir.endsWith(QLatin1Char('/')))
        HomeDir += QLatin1Char('/');
}

void TVersionsForm::FormShow()
{
    setWindowTitle(m_identity.name + QStringLiteral(" - Update"));
}

void TVersionsForm::FormPaint()
{
    FirstB = false;
}

bool TVersionsForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowBlocked)
        belongToModalDialog();
    return QWidget::event(event);
}

void TVersionsForm::belongToModalDialog()
{
    // A modal dialog (the settings dialog whose "Check Nu" opened this window, or whichever
    // dialog is up when the silent check shows it) blocks every window that is not its own.
    // This window becomes one of its own, so that its buttons keep answering.
    const QWidget *dialog = QApplication::activeModalWidget();
    // A dialog of this window's own (an error box) belongs to it instead.
    for (const QWidget *owner = dialog; owner; owner = owner->parentWidget()) {
        if (owner == this)
            return;
    }
    QWindow *own = windowHandle();
    if (dialog && own && dialog->windowHandle())
        own->setTransientParent(dialog->windowHandle());
}

void TVersionsForm::showEvent(QShowEvent *event)
{
    FormShow();
    QWidget::showEvent(event);
}

void TVersionsForm::closeEvent(QCloseEvent *event)
{
    if (m_downloading)
        m_stopDownload = true;
    QWidget::closeEvent(event);
}

void TVersionsForm::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    FormPaint();
}

template <typename Work>
void TVersionsForm::guarded(Work work)
{
    try {
        work();
    } catch (const ConversionError &failure) {
        ShowCriticalText(this, QGuiApplication::applicationDisplayName(), failure.message());
    }
}

void TVersionsForm::clearMemo()
{
    m_lines.clear();
    Memo1->clear();
}

void TVersionsForm::addLine(const QString &fullLine)
{
    // Lines carry texts from the version list, which may be long: laid out whole, one such line
    // would hold the window.
    const QString line = ShownText(fullLine);
    QTextCursor cursor(Memo1->document());
    cursor.movePosition(QTextCursor::End);
    // An empty memo still holds one empty paragraph, which takes the first line.
    if (!m_lines.isEmpty())
        cursor.insertBlock();
    QTextBlockFormat centred = cursor.blockFormat();
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.insertText(line);
    m_lines << line;
}

void TVersionsForm::addReleaseLines(const QString &version, const QString &newVersion,
                                    const QString &downloadName)
{
    if (dutch()) {
        addLine(QStringLiteral("Uw huidige versie is ") + version);
        addLine(QStringLiteral("De nieuwste versie is ") + newVersion);
        addLine(QStringLiteral("De Downloadnaam is ") + downloadName);
    } else {
        addLine(QStringLiteral("Your current version is ") + version);
        addLine(QStringLiteral("The latest version is ") + newVersion);
        addLine(QStringLiteral("The Download Name is ") + downloadName);
    }
}

void TVersionsForm::referToPackageManager()
{
    // The package manager owns the program's files: an installer of the program's own would
    // write over them behind its back.
    addLine(QString());
    addLine(dutch() ? QStringLiteral("Installeer de nieuwe versie met uw pakketbeheerder.")
                    : QStringLiteral("Install the new version with your package manager."));
    DownloadBtn->hide();
    ExitBtn->setText(dutch() ? QStringLiteral("Sluit Venster") : QStringLiteral("Close Window"));
    ExitBtn->show();
    ExitBtn->setFocus();
}

void TVersionsForm::refuseDownloadName(const QString &downloadName)
{
    addLine(QString());
    addLine(UnsafeDownloadNameText(downloadName, sLanguage));
}

int TVersionsForm::GetDownloadName(QString &ProgramStr, QString &NewVersion, QString &Remark)
{
    return ::GetDownloadName(ProgramStr, NewVersion, Remark, m_identity.version);
}

void TVersionsForm::UpdateStealth(const QString &ProgramStr, const QString &Version)
{
    guarded([&] {
        QString downloadName = ProgramStr;
        QString newVersion;
        QString remark;
        const int result = GetDownloadName(downloadName, newVersion, remark);
        clearMemo();
        addLine(QString());
        if (result != UpdateAdvised)
            return;

        show();
        addLine(UpdateResultText(UpdateAdvised, sLanguage).constFirst());
        addLine(QString());
        addReleaseLines(Version, newVersion, downloadName);
        if (InstalledByPackageManager()) {
            referToPackageManager();
            return;
        }
        DownloadBtn->setText(dutch() ? QStringLiteral("Start Downloaden")
                                     : QStringLiteral("Start Downloading"));
        ExitBtn->setText(QStringLiteral("Download Later"));
        DownloadName = downloadName;
        DownloadBtn->show();
        ExitBtn->show();
        // An installer received earlier is not started by a button that now offers the later.
        DownloadedB = false;
    });
}

void TVersionsForm::UpdateProg(int aTop, int aLeft, int aHeight, int aWidth,
                               const QString &ProgramStr, const QString &Version)
{
    guarded([&] {
        const WaitCursor hourglass;
        QString downloadName = ProgramStr;
        QString newVersion;
        QString remark;
        const int result = GetDownloadName(downloadName, newVersion, remark);
        // The buttons are written anew below, and none of them says "Installeer": an installer
        // received earlier must not be started by "Download later" or "Sluit Venster".
        DownloadedB = false;

        const QSize size = frameGeometry().size();
        move(aLeft + (aWidth - size.width()) / 2, aTop + (aHeight - size.height()) / 2);
        show();
        clearMemo();
        addLine(QString());
        addLine((dutch() ? QStringLiteral("Updaten van ") : QStringLiteral("Updating "))
                + m_identity.name);
        addLine(QString());
        for (const QString &line : UpdateResultText(result, sLanguage))
            addLine(line);

        if (result == UpdateAdvised && InstalledByPackageManager()) {
            addLine(QString());
            addReleaseLines(Version, newVersion, downloadName);
            referToPackageManager();
        } else if (result == UpdateAdvised) {
            addLine(QString());
            addReleaseLines(Version, newVersion, downloadName);
            DownloadBtn->setText(QStringLiteral("Start Download"));
            ExitBtn->setText(QStringLiteral("Download later"));
            DownloadName = downloadName;
            DownloadBtn->show();
            DownloadBtn->setFocus();
        } else {
            ExitBtn->setText(dutch() ? QStringLiteral("Sluit Venster")
                                     : QStringLiteral("Close Window"));
            DownloadBtn->hide();
            ExitBtn->show();
            ExitBtn->setFocus();
        }
    });
}

bool TVersionsForm::DownloadNewVersion(const QString &downloadName, const QString &versionListUrl)
{
    const BusyFlag busy(m_downloading);
    m_stopDownload = false;
    // A maximum of 0 would turn the gauge into a busy animation; without a listed size it
    // stays at 0 %.
    const int maximum = qMax(0, InstallerSizeKB);
    Gauge1->show();
    Gauge1->setRange(0, qMax(1, maximum));
    Gauge1->setValue(0);
    const InstallerDownload outcome = ::DownloadNewVersion(
        downloadName, versionListUrl, m_identity.name, m_identity.version,
        {InstallerSizeKB, InstallerSha256},
        [this, maximum](quint32, quint32 gaugeProgress) {
            // The gauge stops at its maximum, as a size from the list may fall short; without a
            // listed size that keeps it at 0.
            Gauge1->setValue(int(qMin(gaugeProgress, quint32(maximum))));
            QCoreApplication::processEvents();
        },
        [this] {
            // Also while nothing arrives, so that the window answers and can stop it.
            QCoreApplication::processEvents();
            return !m_stopDownload;
        });
    const QString failure = InstallerDownloadText(outcome, InstallerSizeKB, sLanguage);
    if (!failure.isEmpty()) {
        addLine(QString());
        addLine(failure);
    }
    return outcome == InstallerDownload::Received;
}

void TVersionsForm::DownloadBtnClick()
{
    if (m_downloading || InstalledByPackageManager())
        return;
    guarded([&] {
        const QString name = DownloadName;
        // The name comes from the network; one that leaves the installer folder is not used.
        if (!IsSafeDownloadName(name)) {
            refuseDownloadName(name);
            return;
        }
        if (!DownloadNewVersion(name, VersionListUrl()))
            return;

        clearMemo();
        addLine(QString());
        if (dutch()) {
            addLine(name + QStringLiteral(" is met succes gedownload"));
            addLine(QStringLiteral("Klik \"Installeer\" om het progamma te installeren"));
            ExitBtn->setText(QStringLiteral("Installeer"));
        } else {
            addLine(name + QStringLiteral(" has been succesfully downloaded"));
            addLine(QStringLiteral("Click \"Install\" to install the progam"));
            ExitBtn->setText(QStringLiteral("Install"));
        }
        DownloadBtn->hide();
        ExitBtn->show();
        DownloadedB = true;
        ExitBtn->setFocus();
    });
}

void TVersionsForm::ExitBtnClick()
{
    // During a download the button stops it: the window closes, and with it the download.
    if (m_downloading) {
        close();
        return;
    }
    guarded([&] {
        if (DownloadedB)
            Install();
        else
            close();
    });
}

void TVersionsForm::Install()
{
    // One installer only: a click while the companion is being stopped must not start another.
    // None at all over the files of a package.
    if (m_installerStarted || InstalledByPackageManager())
        return;
    const QString name = DownloadName;
    // A later check may have named another file since the download; it must still be one
    // inside the installer folder.
    if (!IsSafeDownloadName(name)) {
        refuseDownloadName(name);
        return;
    }
    const QString shown = InstallDisplayName(name);
    addLine(QString());
    addLine(dutch() ? QStringLiteral("De installatie van ") + shown + QStringLiteral(" wordt gestart.")
                    : QStringLiteral("The installation of ") + shown + QStringLiteral(" is started."));
    // The installer replaces the program's files, so it starts only once the program is sure to
    // end, with its positions saved; a user who keeps the window open gets no installer.
    if (!m_program.readyToClose()) {
        addLine(dutch() ? QStringLiteral("Installatie uitgesteld: het programma blijft open.")
                        : QStringLiteral("Installation postponed: the program stays open."));
        return;
    }
    if (!StartInstaller(InstallerPath(name))) {
        // The program keeps running; the exit button tries again.
        addLine(dutch() ? QStringLiteral("Installatie is mislukt.")
                        : QStringLiteral("Installation failed."));
        return;
    }
    m_installerStarted = true;
    addLine(dutch() ? QStringLiteral("De installatie van ") + shown + QStringLiteral(" is gestart.")
                    : QStringLiteral("The installation of ") + shown + QStringLiteral(" has started."));

    // The companion must not hold the program's files while the installer replaces them. One
    // that keeps coming back is given up on, so that the program still ends.
    StopCompanion(CompanionPath(m_identity.name), [] { QCoreApplication::processEvents(); },
                  kCompanionStopLimitMs);
    // The ordinary close: it saves the settings, and the positions if they changed meanwhile.
    m_program.closeProgram();
}

CommandResult TVersionsForm::ExecuteShellCommand(const QString &command, bool hidden,
                                                 int timeLimitMs)
{
    return ::ExecuteShellCommand(command, hidden, timeLimitMs);
}

int TVersionsForm::WinExecAndWait(const QString &commandLine, quint16 showWindow, int timeLimitMs)
{
    return ::WinExecAndWait(commandLine, showWindow, timeLimitMs);
}
