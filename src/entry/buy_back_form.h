#pragma once
// The buy-back dialog: the price, the number of contracts and the commission per contract at
// which the user bought a written option back, with what that realised; for a roll also the new
// series to write, from the last download. OK hands the order to the main window, which carries
// it out as it saves.

#include <QDialog>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

#include <optional>

#include "book/buy_back.h"
#include "portfolio/portfolio_position.h"
#include "support/program_identity.h"

class PositionsBook;
class RollCandidateModel;

class TBuyBackForm : public QDialog
{
    Q_OBJECT
public:
    TBuyBackForm(PositionsBook &book, const ProgramIdentity &identity, QWidget *parent = nullptr);

    QLabel *PositionLabel;
    QDoubleSpinBox *KoersEdit;
    QSpinBox *AantalEdit;
    QDoubleSpinBox *CommissieEdit;
    QLabel *ResultLabel;
    QLabel *RollLabel;
    QTableView *CandidatesView;
    QPushButton *OKButton;
    QPushButton *CancelButton;

    // Asks for the order on the held position of that line of the book, to buy back alone or to
    // roll; none when the user cancels or the line holds no written option.
    std::optional<BuyBackOrder> ask(int line, bool roll);

private:
    void buildControls();
    // The result and, for a roll, the candidates with their credits, after every change.
    void recompute();
    BuyBackOrder order() const;

    PositionsBook &m_book;
    ProgramIdentity m_identity;
    RollCandidateModel *m_candidates;
    PortfolioPosition m_position;
    int m_line = -1;
    bool m_roll = false;
};
