// The detail panel of the main window: filling it from the selected position line and writing
// the user's edits of the flag, the amount and the transaction price back into the line.

#include "app/main_form.h"

#include "book/positions_book.h"
#include "positions/position_line.h"
#include "positions/position_view.h"
#include "support/text_routines.h"

void TMainForm::ListBox1Click()
{
    if (ListBox1->count() == 0)
        return;
    const int row = ListBox1->currentRow();
    if (row < 0)
        return;
    // A price typed for this or another entry, still waiting for its delay, is stored now into
    // the entry it was typed for, before the panel shows a line again.
    storePendingTransactionPrice();

    bListBox = true;
    QStringList fields = SplitPositionLine(m_book.line(row));
    CompleteNineFields(fields);
    const std::optional<PositionNumbers> numbers = ReadPositionNumbers(fields);
    if (!numbers) {
        // A line the program cannot read is shown as it stands and never rewritten.
        Label3->setText(m_book.line(row));
        for (QLabel *value : {Label15, Label16, ActieLabel})
            value->setText(QStringLiteral("---"));
        Label9->setVisible(false);
        ActieLabel->setVisible(false);
        bListBox = false;
        return;
    }
    m_book.setLine(row, JoinPositionFields(fields));
    const double lastPrice = StrToReal(fields.at(field::LastPrice));
    Label3->setText(PositionTitle(fields));

    PositieCheck->setChecked(numbers->flag == 1);
    AantalSpin->setValue(numbers->amount);

    Label4->setText(QStringLiteral("Laatste transactiekoers:"));
    TransactieEdit->setText(fields.at(field::TransactionPrice));
    Label5->setText(QStringLiteral("Laatste koers:"));
    Label15->setText(RealToStr(lastPrice, 5, 2));
    Label6->setText(QStringLiteral("Verschil:"));
    showDifference(fields);
    bListBox = false;
}

void TMainForm::showDifference(const QStringList &fields)
{
    const QString difference = fields.at(field::Difference);
    const double differenceValue = StrToReal(difference);
    const int shownAmount = AantalSpin->value();
    Label16->setText(difference + QStringLiteral(" (") + PerOptionText(differenceValue, shownAmount)
                     + QStringLiteral("/optie)"));
    const QString action = ChooseAction(difference, fields.at(field::Flag));
    ActieLabel->setText(action);
    const bool shown = ActionShown(differenceValue, shownAmount, action);
    ActieLabel->setVisible(shown);
    Label9->setVisible(shown);
}

void TMainForm::PositieCheckClick()
{
    const int row = ListBox1->currentRow();
    if (row < 0 || !IsUsablePosition(SplitPositionLine(ListBox1->currentLine())))
        return;
    m_book.setLine(row, WithFlag(ListBox1->currentLine(), PositieCheck->isChecked()));
    ListBox1Click();
}

void TMainForm::AantalSpinChange()
{
    const int row = ListBox1->currentRow();
    if (row < 0)
        return;
    m_book.setLine(row, WithAmount(ListBox1->currentLine(), AantalSpin->value()));
}

void TMainForm::TransactieEditChange()
{
    if (bListBox || ListBox1->currentRow() < 0)
        return;
    if (!TransactieTimer->isEnabled())
        m_pendingPriceRow = ListBox1->currentRow();
    TransactieTimer->setEnabled(true);
}

void TMainForm::TransactieTimerTimer()
{
    TransactieTimer->setEnabled(false);
    const QString typed = UnSpace(TransactieEdit->text());
    const int row = m_pendingPriceRow;
    m_pendingPriceRow = -1;
    // Putting the text back without its blanks is itself an edit when blanks were removed; it
    // arms the delay once more and stores the same text again a second later.
    TransactieEdit->setText(typed);
    storeTransactionPrice(row, typed);
}

void TMainForm::storePendingTransactionPrice()
{
    if (!TransactieTimer->isEnabled())
        return;
    TransactieTimer->setEnabled(false);
    const int row = m_pendingPriceRow;
    m_pendingPriceRow = -1;
    storeTransactionPrice(row, UnSpace(TransactieEdit->text()));
}

void TMainForm::storeTransactionPrice(int row, const QString &typed)
{
    if (row < 0 || row >= ListBox1->count())
        return;
    m_book.setLine(row, PutTransactieKoers(typed, m_book.line(row)));
    // The difference shown beside the price follows the price stored; the price field itself is
    // left as the user typed it.
    QStringList fields = SplitPositionLine(m_book.line(row));
    CompleteNineFields(fields);
    if (row == ListBox1->currentRow() && ReadPositionNumbers(fields))
        showDifference(fields);
}
