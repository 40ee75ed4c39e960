// Saving the positions as the user meets it: at a delete, an add and the close of the window,
// with a question where saving would lose something, and at the end of the session, when
// nobody is there to answer one.

#include "app/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>

#include "app/yes_no_form.h"
#include "book/positions_book.h"
#include "platform/termination_signals.h"

void TMainForm::WriteRegels()
{
    if (!mayOverwritePositions())
        return;
    const positions_file::SaveResult result = m_book.save();
    if (result.failed())
        setStatusText(positions_file::saveFailureText(result.error));
}

bool TMainForm::mayOverwritePositions()
{
    if (m_book.incompleteText().isEmpty() || !m_book.hasListToWrite())
        return true;
    // The list lacks what could not be read; the file keeps it until the user says otherwise.
    if (m_sessionEnding
        || !askUser(QStringLiteral(" - Opslaan"),
                    QStringLiteral("Regels.dat is niet volledig gelezen. Toch opslaan?")))
        return false;
    m_book.acceptIncomplete();
    showStatus();
    return true;
}

bool TMainForm::askUser(const QString &captionSuffix, const QString &question)
{
    if (!YesNoDlg)
        return false;
    bool third = false;
    return YesNoDlg->Execute(y(), x(), height(), width(), ProgNam + captionSuffix, question,
                             QStringLiteral("Ja"), QStringLiteral("Nee"),
                             QStringLiteral("Negeren"), false, third);
}

bool TMainForm::readyToClose()
{
    storePendingTransactionPrice();
    // Saved a moment ago: a second save of the same list would rotate the older backup away.
    if (m_linesSavedForClose == PositionLines())
        return true;
    if (!saveForClose())
        return false;
    m_linesSavedForClose = PositionLines();
    return true;
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    const bool ready = readyToClose();
    m_linesSavedForClose.reset();
    if (!ready) {
        event->ignore();
        return;
    }
    event->accept();
    // Closing the main window ends the program, whatever other window is still open. A download
    // that this close interrupted (it lets events run between its pages) gives up its waits at
    // once instead of holding the program, unseen, for its time-outs.
    SetProgramEnding(true);
    QCoreApplication::quit();
}

bool TMainForm::saveForClose()
{
    // The questions below may still be open when the session ends; it then finishes the close.
    if (!m_sessionEnding && mayOverwritePositions()) {
        const positions_file::SaveResult result = m_book.save();
        if (!result.failed())
            return true;
        const QString failure = positions_file::saveFailureText(result.error);
        setStatusText(failure);
        if (askUser(QStringLiteral(" - Afsluiten"), failure + QStringLiteral(". Toch afsluiten?")))
            return true;
        if (!m_sessionEnding)
            return false;
    }
    if (m_sessionEnding)
        saveAtSessionEnd();
    return true;
}

void TMainForm::EndSession()
{
    m_sessionEnding = true;
    // A question waiting for the user gets "Nee"; a close waiting for its answer then finishes
    // as this one, and otherwise the close starts here.
    if (YesNoDlg && YesNoDlg->isVisible())
        YesNoDlg->NeeBtnClick();
    close();
}

void TMainForm::saveAtSessionEnd()
{
    QString reason;
    if (!mayOverwritePositions()) {
        reason = QStringLiteral("Regels.dat is niet volledig gelezen");
    } else {
        const positions_file::SaveResult result = m_book.save();
        if (!result.failed())
            return;
        reason = result.error;
    }
    // Nobody is there to ask: the list goes where it harms no file, and the log says where.
    m_book.keepUnsaved(reason);
}

void TMainForm::setStatusText(const QString &text)
{
    m_book.setStatusText(text);
}

void TMainForm::showStatus()
{
    // A positions file that was not read whole stays in view above the status until the user
    // has said whether to save over it; else a list kept elsewhere at a session's end does.
    const QString &above = m_book.incompleteText().isEmpty() ? m_book.unsavedNotice() : m_book.incompleteText();
    const QString &status = m_book.statusText();
    const bool twoLines = !above.isEmpty();
    Label1->setGeometry(Label1->x(), twoLines ? 4 : 16, Label1->width(), twoLines ? 44 : 20);
    Label1->setText(twoLines ? above + QLatin1Char('\n') + status : status);
}
