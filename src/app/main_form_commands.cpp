// The commands of the main window's top bar.

#include "app/main_form.h"

#include <QDateTime>
#include <QMessageBox>

#include "about/about_form.h"
#include "book/buy_back.h"
#include "book/positions_book.h"
#include "entry/add_form.h"
#include "entry/buy_back_form.h"
#include "entry/options_form.h"
#include "portfolio/portfolio_position.h"

void TMainForm::AddButtonClick()
{
    if (AddForm)
        AddForm->exec();
}

void TMainForm::DelButtonClick()
{
    if (ListBox1->currentRow() < 0) {
        if (ListBox1->count() == 0)
            return;
        SelectEntry(0);
    }
    if (!askUser(QStringLiteral(" - Verwijderen"),
                 QStringLiteral("Wilt u inderdaad de geselecteerde Optie verwijderen?")))
        return;
    // A price still waiting for its delay belongs to a row that is about to move or go.
    storePendingTransactionPrice();
    const int index = ListBox1->currentRow();
    {
        const QSignalBlocker blocker(ListBox1);
        m_book.removeLine(index);
    }
    SelectEntry(index < ListBox1->count() ? index : ListBox1->count() - 1);
    if (ListBox1->count() == 0)
        m_book.markEmptiedByUser();
    WriteRegels();
    // The panel shows the entry now selected, so that an edit lands where the user sees it.
    ListBox1Click();
}

void TMainForm::addPosition(const QString &line)
{
    {
        const QSignalBlocker blocker(ListBox1);
        m_book.appendLine(line);
    }
    WriteRegels();
    // The first entry with this text, which may be an equal line listed before.
    SelectEntry(m_book.indexOf(line));
    // The detail panel follows the selection, so that an edit made there next belongs to the
    // position it shows.
    ListBox1Click();
}

void TMainForm::buyBack(int line, bool roll)
{
    // A price still waiting for its delay belongs to a line that may be about to change or go.
    storePendingTransactionPrice();
    TBuyBackForm form(m_book, identity(), this);
    const std::optional<BuyBackOrder> order = form.ask(line, roll);
    if (!order || !mayOverwritePositions())
        return;
    BuyBackOutcome outcome;
    {
        const QSignalBlocker blocker(ListBox1);
        outcome = BuyBack(m_book, *order, QDateTime::currentDateTime());
    }
    if (!outcome.done) {
        QMessageBox::critical(this, ProgNam, outcome.error);
        return;
    }
    // The line stays where it was unless all its contracts were bought back; the selection then
    // goes to the line that followed it, as after a delete.
    SelectEntry(std::min(line, ListBox1->count() - 1));
    const journal_file::Row &done = outcome.row;
    setStatusText(QStringLiteral("%1: %2 x %3 %4 %5 %6 %7, resultaat %8")
                      .arg(roll ? QStringLiteral("Doorgerold") : QStringLiteral("Teruggekocht"))
                      .arg(done.amount)
                      .arg(done.series, done.kind, done.month, QString::number(done.year), FigureText(done.strike, 2),
                           FigureText(done.result, kMoneyDecimals)));
    ListBox1Click();
}

void TMainForm::updateBuyBackCommand()
{
    const std::optional<PortfolioPosition> position = ReadPortfolioPosition(ListBox1->currentLine(), 0);
    TerugkopenButton->setEnabled(position && position->held && position->amount > 0);
}

void TMainForm::InstellingenButtonClick()
{
    if (OptionsForm)
        OptionsForm->showCentred();
}

void TMainForm::HelpButtonClick()
{
    if (AboutForm)
        AboutForm->exec();
}

bool TMainForm::DownloadSwitchOn() const
{
    return OptionsForm ? OptionsForm->downloadTimerOn() : true;
}

bool TMainForm::UpdateSwitchOn() const
{
    return OptionsForm ? OptionsForm->updatesOn() : true;
}
