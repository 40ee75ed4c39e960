#include "portfolio/scenario_tab_widget.h"

#include <QHBoxLayout>
#include <QHeaderView>

#include <cmath>

namespace {

// "-10 %", "-7,5 %", "0 %", "+2,5 %": a move as a fraction, as per cent with no more decimals
// than it has.
QString moveText(double move)
{
    const double percent = move * 100;
    const QString text = FigureText(percent, percent == std::round(percent) ? 0 : 1) + QStringLiteral(" %");
    return percent > 0 ? QLatin1Char('+') + text : text;
}

QTableWidgetItem *figureItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

// A money cell, red for a loss: a figure that shows below zero.
QTableWidgetItem *moneyItem(double value)
{
    QTableWidgetItem *item = figureItem(FigureText(value, kMoneyDecimals));
    if (std::round(value * 100) < 0)
        item->setForeground(Qt::red);
    return item;
}

} // namespace

ScenarioTabWidget::ScenarioTabWidget(QWidget *parent) : RiskTabWidget(parent)
{
    auto *page = new QWidget;
    TitleLabel = new QLabel(page);
    VolatilityShift = new QComboBox(page);
    for (double shift : kVolatilityShifts) {
        const QString text = shift == 0 ? QStringLiteral("Volatiliteit ongewijzigd")
                                        : QStringLiteral("Volatiliteit %1%2 punten")
                                              .arg(shift > 0 ? QStringLiteral("+") : QString(), FigureText(shift, 0));
        VolatilityShift->addItem(text, shift);
    }
    VolatilityShift->setCurrentIndex(VolatilityShift->findData(0.0));
    connect(VolatilityShift, &QComboBox::currentIndexChanged, this, [this] {
        if (book() && !book()->positions.empty())
            showBook(*book());
    });
    auto *shiftNote = new QLabel(QStringLiteral("voor \"Nu\" en \"Over 1 week\"; op expiratie telt alleen de "
                                                "intrinsieke waarde"),
                                 page);

    Grid = new QTableWidget(int(kIndexMoves.size()), ColumnCount, page);
    Grid->setHorizontalHeaderLabels({QStringLiteral("AEX-beweging"), QStringLiteral("AEX"), QStringLiteral("Nu"),
                                     QStringLiteral("Over 1 week"), QStringLiteral("Op expiratie")});
    Grid->verticalHeader()->hide();
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionMode(QAbstractItemView::NoSelection);
    Grid->setAlternatingRowColors(true);
    Grid->setWordWrap(false);
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Grid->horizontalHeader()->setMinimumSectionSize(110);
    // As large as its nine rows, not as the tab: no empty frame below them.
    Grid->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    Grid->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);

    auto *selector = new QHBoxLayout;
    selector->addWidget(VolatilityShift);
    selector->addWidget(shiftNote);
    selector->addStretch(1);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TitleLabel);
    layout->addLayout(selector);
    layout->addWidget(Grid);
    layout->addStretch(1);
    setFiguresPage(page);
}

void ScenarioTabWidget::showBook(const ScenarioBook &book)
{
    TitleLabel->setText(QStringLiteral("Verschil posities als de AEX beweegt vanaf %1")
                            .arg(FigureText(book.market.index, kMoneyDecimals)));
    const std::vector<ScenarioRow> grid = ScenarioGrid(book, VolatilityShift->currentData().toDouble());
    for (int row = 0; row < int(grid.size()); ++row) {
        const ScenarioRow &r = grid[size_t(row)];
        for (const auto &[column, text] : {std::pair{Beweging, moveText(r.move)},
                                           std::pair{Niveau, FigureText(r.level, kMoneyDecimals)}}) {
            QTableWidgetItem *item = figureItem(text);
            // The row of the AEX as it stands.
            if (r.move == 0) {
                QFont bold = Grid->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            Grid->setItem(row, column, item);
        }
        Grid->setItem(row, Nu, moneyItem(r.now));
        Grid->setItem(row, OverEenWeek, moneyItem(r.inOneWeek));
        Grid->setItem(row, OpExpiratie, moneyItem(r.atExpiry));
    }
}
