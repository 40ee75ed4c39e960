#include "portfolio/payoff_tab_widget.h"

#include <QHBoxLayout>

#include "portfolio/chart_library.h"
#include "portfolio/chart_picture_widget.h"
#include "portfolio/payoff.h"

namespace {

QString levelText(double level)
{
    return FigureText(level, kMoneyDecimals);
}

QString expiryText(const Payoff &payoff)
{
    return payoff.firstExpiry.isValid() ? payoff.firstExpiry.toString(QStringLiteral("dd-MM-yyyy"))
                                        : QStringLiteral("expiratie");
}

// The levels where the curve at the first expiry is nil, one a line; a stretch "van A tot B".
QString breakEvenText(const Payoff &payoff)
{
    QStringList lines{QStringLiteral("Break-even op %1:").arg(expiryText(payoff))};
    for (const BreakEven &level : payoff.breakEvens) {
        lines << (level.isStretch()
                      ? QStringLiteral("van AEX %1 tot AEX %2").arg(levelText(level.from), levelText(level.to))
                      : QStringLiteral("AEX %1").arg(levelText(level.from)));
    }
    if (payoff.breakEvens.empty())
        lines << QStringLiteral("geen tussen AEX %1 en AEX %2").arg(levelText(payoff.low), levelText(payoff.high));
    return lines.join(QLatin1Char('\n'));
}

QString worstText(const Payoff &payoff)
{
    const auto worst = [](const PayoffExtreme &extreme) {
        return QStringLiteral("%1 bij AEX %2").arg(FigureText(extreme.value, kMoneyDecimals), levelText(extreme.level));
    };
    return QStringLiteral("Slechtste resultaat tussen AEX %1 en AEX %2:\nvandaag %3\nop %4 %5")
        .arg(levelText(payoff.low), levelText(payoff.high), worst(payoff.worstToday), expiryText(payoff),
             worst(payoff.worstAtFirstExpiry));
}

} // namespace

PayoffTabWidget::PayoffTabWidget(const QString &chartLibraryFolder, QWidget *parent) : RiskTabWidget(parent)
{
    auto *page = new QWidget;
    BreakEvenLabel = new QLabel(page);
    WorstLabel = new QLabel(page);
    auto *side = new QVBoxLayout;
    side->addWidget(BreakEvenLabel);
    side->addSpacing(BreakEvenLabel->fontMetrics().height());
    side->addWidget(WorstLabel);
    side->addStretch(1);
    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    const MakePayoffChart makeChart = chart_library::openPayoffChart(chartLibraryFolder, m_chartError);
    if (makeChart) {
        m_chart = makeChart();
        ChartView = m_chart->view();
        layout->addWidget(ChartView, 1);
    }
    layout->addLayout(side);
    setFiguresPage(page);

    SaveChartButton = new QPushButton(QStringLiteral("Opslaan als PNG..."), this);
    SaveChartButton->setEnabled(false);
    connect(SaveChartButton, &QPushButton::clicked, this, [this] {
        SaveChartPictureAs(*ChartView, m_title, QStringLiteral("Uitbetaling opslaan"),
                           QStringLiteral("Pelgrandix uitbetaling.png"));
    });
    // Only a chart in sight can be saved.
    connect(Stack, &QStackedWidget::currentChanged, this,
            [this, page] { SaveChartButton->setEnabled(m_chart && Stack->currentWidget() == page); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SaveChartButton);
    pageLayout()->addLayout(buttons);
}

void PayoffTabWidget::showBook(const ScenarioBook &book)
{
    if (!m_chart) {
        showMessage(QStringLiteral("De grafiek kan niet worden getoond: ") + m_chartError);
        return;
    }
    const Payoff payoff = PayoffOf(book);
    if (payoff.points.empty()) {
        showMessage(QStringLiteral("Bij een AEX-koers van %1 is er geen uitbetaling te tonen.")
                        .arg(levelText(book.market.index)));
        return;
    }
    QList<QPointF> today, atExpiry;
    for (const PayoffPoint &point : payoff.points) {
        today.append(QPointF(point.level, point.today));
        atExpiry.append(QPointF(point.level, point.atFirstExpiry));
    }
    const QString expiryName = payoff.firstExpiry.isValid()
        ? QStringLiteral("Op eerstvolgende expiratie (%1)").arg(expiryText(payoff))
        : QStringLiteral("Op eerstvolgende expiratie");
    m_chart->plot(today, atExpiry, expiryName, book.market.index, payoff.low, payoff.high);
    BreakEvenLabel->setText(breakEvenText(payoff));
    WorstLabel->setText(worstText(payoff));
    m_title = QStringLiteral("Uitbetaling van de posities, AEX %1 op %2")
                  .arg(levelText(book.market.index), book.now.toString(QStringLiteral("dd-MM-yyyy HH:mm")));
}

QLineSeries *PayoffTabWidget::todaySeries() const
{
    return m_chart ? m_chart->todaySeries() : nullptr;
}

QLineSeries *PayoffTabWidget::expirySeries() const
{
    return m_chart ? m_chart->expirySeries() : nullptr;
}

QLineSeries *PayoffTabWidget::indexLine() const
{
    return m_chart ? m_chart->indexLine() : nullptr;
}

bool PayoffTabWidget::saveChart(const QString &path)
{
    return SaveChartButton->isEnabled() && SaveChartPicture(*ChartView, m_title, path);
}
