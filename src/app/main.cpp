#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTranslator>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "about/about_form.h"
#include "app/command_line.h"
#include "app/main_form.h"
#include "app/message_form.h"
#include "app/main_form_windows.h"
#include "app/yes_no_form.h"
#include "book/positions_book.h"
#include "entry/add_form.h"
#include "entry/options_form.h"
#include "platform/termination_signals.h"
#include "positions/window_lock.h"
#include "report/report.h"
#include "support/product.h"
#include "support/system_info.h"
#include "update/terminate_form.h"
#include "update/versions_form.h"

namespace {

// A measuring aid: with PELGRANDIX_EXIT_AFTER_FIRST_PAINT set, the program ends as soon as the
// main window has been drawn once, so that the time to a drawn window and the memory the
// program then holds can be measured from outside. The work that the first paint starts (the
// first download) is left out, and the window is not closed: the process ends right after the
// paint, before the windows take leave, so neither positions nor settings are saved.
class ExitAfterFirstPaint : public QObject
{
public:
    explicit ExitAfterFirstPaint(TMainForm *form) : m_form(form) { form->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_form && event->type() == QEvent::Paint) {
            m_form->removeEventFilter(this);
            m_form->bPainted = true;
            // The loop ends once this paint has been drawn and shown.
            QCoreApplication::exit(0);
        }
        return false;
    }

private:
    TMainForm *m_form;
};

// Does some work once, right after the first paint of a window and before the work that this
// paint itself starts.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget *window, std::function<void()> work) : m_work(std::move(work))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued now, before the window's own paint handler queues its start-up work.
            QMetaObject::invokeMethod(this, m_work, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> m_work;
};

quint16 GetTaskBarHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    return quint16(screen->geometry().height() - screen->availableGeometry().height());
}

// What the window and the report both set up once their application exists.
void startSupport(const CommandLine &commandLine)
{
    InitSupport();
    // Only the name: a display name would be added by the toolkit to every window's caption.
    QCoreApplication::setApplicationName(QStringLiteral("Pelgrandix"));
    if (commandLine.inDataFolder && !EnterDataFolder(QCoreApplication::applicationName()))
        std::fprintf(stderr, "pelgrandix: cannot enter the data folder; staying in %s\n",
                     qPrintable(QDir::currentPath()));
}

// Without a display the toolkit cannot start and aborts the program with a core dump; a window
// asked for over a remote shell, or from a scheduler, gets a word instead. A platform named in
// the environment (offscreen, say) is the caller's choice and is left to the toolkit.
bool aDisplayCanBeReached()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int runWindow(int argc, char **argv, const CommandLine &commandLine)
{
    if (!aDisplayCanBeReached()) {
        std::fputs("pelgrandix: Geen beeldscherm gevonden (DISPLAY en WAYLAND_DISPLAY zijn leeg). "
                   "Zonder venster: pelgrandix --report\n", stderr);
        return kWindowNotOpenedExitStatus;
    }
    QApplication app(argc, argv);
    startSupport(commandLine);
    // Qt's own windows and menus (the file dialog, the buttons of a message box, the menu of a
    // text field) speak the user's language, as the rest of the desktop does. The main window's
    // first paint shows none of them, so they are read right after it (or before the box that
    // says the window is open already), rather than before the window can show.
    QTranslator qtTexts;
    const auto speakTheUsersLanguage = [&app, &qtTexts] {
        if (qtTexts.load(QLocale(), QStringLiteral("qt"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            app.installTranslator(&qtTexts);
    };
    // Held while the window is open (positions/window_lock.h says why).
    platform::FileLock openWindow(WindowLockPath(GetDataDir(QCoreApplication::applicationName())));
    if (!TakeWindowLock(openWindow)) {
        speakTheUsersLanguage();
        const QString text = QStringLiteral("Pelgrandix is al geopend. Twee vensters zouden elkaars "
                                            "posities overschrijven; gebruik het geopende venster.");
        std::fprintf(stderr, "pelgrandix: %s\n", qPrintable(text));
        QMessageBox::information(nullptr, QCoreApplication::applicationName(), text);
        return kWindowNotOpenedExitStatus;
    }
    TaskBarHeight = GetTaskBarHeight();
    // Qt lays a new text field's text out once in the application's font before the field takes
    // its window's font: with the desktop's font that is a second font to find and load before
    // the main window can show. The application's font is the window's while the main window is
    // made and first drawn, and the desktop's again right after, for Qt's own dialogs and menus.
    // (QGuiApplication's, not QApplication's: the latter would also drop the fonts the desktop
    // gives to kinds of widgets, such as menus, for good.)
    const QFont desktopFont = QGuiApplication::font();
    QGuiApplication::setFont(TMainForm::windowFont());
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QLatin1String(kDesktopEntryId));
    // The main window's close ends the program, also while another window is open.
    QApplication::setQuitOnLastWindowClosed(false);

    // The positions book, the program's document, outlives every window that shows it. Every
    // window is made once and lives until the end. The main window and the settings window,
    // which applies the stored settings to it, are made before it shows; the settings window's
    // widgets and the other windows right after its first paint, so that it shows sooner. They
    // are destroyed in the reverse order of this list, so the main window still exists while the
    // others take leave.
    PositionsBook book(QCoreApplication::applicationName());
    auto mainForm = std::make_unique<TMainForm>(book);
    std::unique_ptr<TAboutForm> aboutForm;
    std::unique_ptr<TMessageForm> messageForm;
    std::unique_ptr<TAddForm> addForm;
    std::unique_ptr<TYesNoDlg> yesNoDlg;
    auto optionsForm = MakeOptionsForm(*mainForm, DialogWidgets::Later);
    std::unique_ptr<TVersionsForm> versionsForm;
    std::unique_ptr<TTerminateForm> terminateForm;
    AfterFirstPaint otherWindows(mainForm.get(), [&] {
        QGuiApplication::setFont(desktopFont);
        speakTheUsersLanguage();
        optionsForm->makeControls();
        aboutForm = MakeAboutForm(*mainForm);
        messageForm = std::make_unique<TMessageForm>();
        addForm = MakeAddForm(*mainForm);
        yesNoDlg = std::make_unique<TYesNoDlg>();
        versionsForm = MakeVersionsForm(*mainForm);
        terminateForm = MakeTerminateForm(*mainForm);
    });

    TerminationSignals sessionEnd;
    QObject::connect(&sessionEnd, &TerminationSignals::terminationRequested, mainForm.get(),
                     [&] { mainForm->EndSession(); });

    std::unique_ptr<ExitAfterFirstPaint> measuring;
    if (qEnvironmentVariableIsSet("PELGRANDIX_EXIT_AFTER_FIRST_PAINT"))
        measuring = std::make_unique<ExitAfterFirstPaint>(mainForm.get());

    mainForm->show();
    const int result = app.exec();
    if (measuring)
        std::_Exit(result);
    return result;
}

// The report needs no display: the application is one without a window toolkit.
int runReport(int argc, char **argv, const CommandLine &commandLine)
{
    QCoreApplication app(argc, argv);
    startSupport(commandLine);
    // A termination signal breaks a download's wait off, and the report ends as it would have.
    const TerminationSignals sessionEnd;
    // A reader that went away (a pipe into a command that ended) must give the report's own
    // failure status and message, not end the program without a word.
    std::signal(SIGPIPE, SIG_IGN);
    return RunReport(commandLine.report);
}

} // namespace

int main(int argc, char **argv)
{
    // Read before any application exists: a wrong argument, the help and the version need no
    // display, and the report must not ask for one.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = ParseCommandLine(arguments);
    if (!commandLine.error.isEmpty()) {
        std::fprintf(stderr, "pelgrandix: %s\n%sSee 'pelgrandix --help' for more.\n",
                     qPrintable(commandLine.error), qPrintable(UsageText()));
        return kUsageExitStatus;
    }
    switch (commandLine.action) {
    case CommandLine::Action::Help:
        std::fputs(qPrintable(HelpText()), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("pelgrandix %s\n", kRelease);
        return 0;
    case CommandLine::Action::Report:
        return runReport(argc, argv, commandLine);
    case CommandLine::Action::Window:
        break;
    }
    return runWindow(argc, argv, commandLine);
}
