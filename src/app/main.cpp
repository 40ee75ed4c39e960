#include <QApplication>
#include <QScreen>

#include <cstdlib>
#include <memory>

#include "about/about_form.h"
#include "app/main_form.h"
#include "app/message_form.h"
#include "app/yes_no_form.h"
#include "entry/add_form.h"
#include "entry/options_form.h"
#include "platform/termination_signals.h"
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

quint16 GetTaskBarHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    return quint16(screen->geometry().height() - screen->availableGeometry().height());
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    InitSupport();
    TaskBarHeight = GetTaskBarHeight();
    QApplication::setApplicationName(QStringLiteral("Pelgrandix"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pelgrandix"));
    // The main window's close ends the program, also while another window is open.
    QApplication::setQuitOnLastWindowClosed(false);

    // Every window is created once, in this order, and lives until the end; they are destroyed
    // in the reverse order, so the main window still exists while the others take leave.
    auto mainForm = std::make_unique<TMainForm>();
    auto aboutForm = std::make_unique<TAboutForm>();
    auto messageForm = std::make_unique<TMessageForm>();
    auto addForm = std::make_unique<TAddForm>();
    auto yesNoDlg = std::make_unique<TYesNoDlg>();
    auto optionsForm = std::make_unique<TOptionsForm>();
    auto versionsForm = std::make_unique<TVersionsForm>();
    auto terminateForm = std::make_unique<TTerminateForm>();

    TerminationSignals sessionEnd;
    QObject::connect(&sessionEnd, &TerminationSignals::terminationRequested, mainForm.get(),
                     [&] { mainForm->close(); });

    std::unique_ptr<ExitAfterFirstPaint> measuring;
    if (qEnvironmentVariableIsSet("PELGRANDIX_EXIT_AFTER_FIRST_PAINT"))
        measuring = std::make_unique<ExitAfterFirstPaint>(mainForm.get());

    mainForm->show();
    const int result = app.exec();
    if (measuring)
        std::_Exit(result);
    return result;
}
