#include "entry/buy_back_form.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>

#include "book/positions_book.h"
#include "portfolio/journal_file.h"
#include "portfolio/portfolio_model.h"
#include "portfolio/red_negative_proxy_widget.h"
#include "portfolio/roll_candidate_model.h"

namespace {

QDoubleSpinBox *makeMoneySpin(QWidget *parent, double highest)
{
    auto *spin = new QDoubleSpinBox(parent);
    spin->setRange(0, highest);
    spin->setDecimals(2);
    spin->setSingleStep(0.05);
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    return spin;
}

} // namespace

TBuyBackForm::TBuyBackForm(PositionsBook &book, const ProgramIdentity &identity, QWidget *parent)
    : QDialog(parent), m_book(book), m_identity(identity), m_candidates(new RollCandidateModel(this))
{
    buildControls();
}

void TBuyBackForm::buildControls()
{
    setFont(QFont(QStringLiteral("Verdana"), 9));
    PositionLabel = new QLabel(this);
    PositionLabel->setTextFormat(Qt::PlainText);
    KoersEdit = makeMoneySpin(this, 100000);
    AantalEdit = new QSpinBox(this);
    CommissieEdit = makeMoneySpin(this, kHighestCommission);
    ResultLabel = new QLabel(this);
    RollLabel = new QLabel(QStringLiteral("Doorrollen naar:"), this);
    CandidatesView = new QTableView(this);
    CandidatesView->setModel(new RedNegativeProxy(RollCandidateModel::NegativeRole, this));
    static_cast<QIdentityProxyModel *>(CandidatesView->model())->setSourceModel(m_candidates);
    CandidatesView->setSelectionBehavior(QAbstractItemView::SelectRows);
    CandidatesView->setSelectionMode(QAbstractItemView::SingleSelection);
    CandidatesView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CandidatesView->verticalHeader()->hide();
    CandidatesView->setWordWrap(false);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Annuleren"), this);

    auto *grid = new QGridLayout(this);
    grid->addWidget(PositionLabel, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Terugkoopkoers"), this), 1, 0);
    grid->addWidget(KoersEdit, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Aantal contracten"), this), 2, 0);
    grid->addWidget(AantalEdit, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Commissie per contract"), this), 3, 0);
    grid->addWidget(CommissieEdit, 3, 1);
    grid->addWidget(ResultLabel, 4, 0, 1, 2);
    grid->addWidget(RollLabel, 5, 0, 1, 2);
    grid->addWidget(CandidatesView, 6, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    buttons->addWidget(OKButton);
    grid->addLayout(buttons, 7, 0, 1, 2);
    grid->setRowStretch(6, 1);

    const auto changed = [this] { recompute(); };
    connect(KoersEdit, &QDoubleSpinBox::valueChanged, this, changed);
    connect(AantalEdit, &QSpinBox::valueChanged, this, changed);
    connect(CommissieEdit, &QDoubleSpinBox::valueChanged, this, changed);
    connect(CandidatesView->selectionModel(), &QItemSelectionModel::selectionChanged, this, changed);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<BuyBackOrder> TBuyBackForm::ask(int line, bool roll)
{
    const std::optional<PortfolioPosition> position = ReadPortfolioPosition(m_book.line(line), line);
    if (!position || !position->held || position->amount <= 0)
        return std::nullopt;
    m_position = *position;
    m_line = line;
    m_roll = roll;
    setWindowTitle(m_identity.name + (roll ? QStringLiteral(" - Doorrollen") : QStringLiteral(" - Terugkopen")));
    PositionLabel->setText(QStringLiteral("%1 %2 %3 %4 %5: %6 geschreven tegen %7")
                               .arg(m_position.series, m_position.kind, m_position.month,
                                    QString::number(m_position.year), FigureText(m_position.strike, 2))
                               .arg(m_position.amount)
                               .arg(FigureText(m_position.transactionPrice, kMoneyDecimals)));
    {
        const QSignalBlocker price(KoersEdit), count(AantalEdit), commission(CommissieEdit);
        KoersEdit->setValue(m_position.lastPrice);
        AantalEdit->setRange(1, m_position.amount);
        AantalEdit->setValue(m_position.amount);
        CommissieEdit->setValue(m_book.settings().commissionPerContract);
    }
    RollLabel->setVisible(roll);
    CandidatesView->setVisible(roll);
    m_candidates->setCandidates({}, m_position.kind);
    recompute();
    if (roll) {
        CandidatesView->resizeColumnsToContents();
        resize(std::max(width(), CandidatesView->horizontalHeader()->length() + 60), std::max(height(), 420));
    } else {
        adjustSize();
    }
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return order();
}

BuyBackOrder TBuyBackForm::order() const
{
    BuyBackOrder order{m_line, AantalEdit->value(), KoersEdit->value(), CommissieEdit->value(), {}};
    const QModelIndexList chosen = CandidatesView->selectionModel()->selectedRows();
    if (m_roll && !chosen.isEmpty())
        order.rollLine = RollLine(m_position, m_candidates->candidates()[size_t(chosen.first().row())], order.contracts);
    return order;
}

void TBuyBackForm::recompute()
{
    const int contracts = AantalEdit->value();
    const double result = journal_file::RealisedResult(contracts, m_position.transactionPrice, KoersEdit->value(),
                                                       CommissieEdit->value() * contracts);
    ResultLabel->setText(QStringLiteral("Gerealiseerd resultaat: ") + FigureText(result, kMoneyDecimals));
    if (!m_roll) {
        OKButton->setEnabled(true);
        return;
    }
    // The credits follow the price and the contracts; the chosen series stays chosen.
    const QModelIndexList chosen = CandidatesView->selectionModel()->selectedRows();
    const QString chosenTitle = chosen.isEmpty() ? QString() : chosen.first().data().toString();
    const PortfolioInputs inputs = m_book.figureInputs(QDateTime::currentDateTime());
    const risk::Market market{inputs.indexLevel.value_or(0), inputs.ratePercent / 100, inputs.dividendYieldPercent / 100};
    {
        const QSignalBlocker quiet(CandidatesView->selectionModel());
        m_candidates->setCandidates(RollCandidates(m_position, inputs.quoteLines, market, inputs.now,
                                                   KoersEdit->value(), contracts),
                                    m_position.kind);
        for (int row = 0; row < m_candidates->rowCount(); ++row) {
            if (CandidatesView->model()->index(row, 0).data().toString() == chosenTitle)
                CandidatesView->selectRow(row);
        }
    }
    if (m_candidates->rowCount() == 0)
        RollLabel->setText(QStringLiteral("Geen series om naar door te rollen in de laatste download."));
    else
        RollLabel->setText(QStringLiteral("Doorrollen naar:"));
    OKButton->setEnabled(CandidatesView->selectionModel()->hasSelection());
}
