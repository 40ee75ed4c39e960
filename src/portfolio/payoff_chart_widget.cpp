// The overview's payoff chart with Qt Charts, built into the chart library beside the history
// chart (history_chart.h says why that is a library of its own).

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <algorithm>

#include "portfolio/payoff_chart.h"

namespace {

// Ticks every twentieth of the range: with a range of 20 % either side of the index, a tick at
// each 5 % move.
constexpr int kLevelTicks = 9;

class PayoffChartWidget : public QChartView, public PayoffChart
{
public:
    // The chart is handed to the view's constructor, as the history chart's is (see there).
    PayoffChartWidget() : QChartView(new QChart)
    {
        QChart *chart = this->chart();
        chart->setLocalizeNumbers(true);
        m_todaySeries->setName(QStringLiteral("Vandaag"));
        m_indexLine->setName(QStringLiteral("AEX nu"));
        QPen dashed(Qt::gray);
        dashed.setStyle(Qt::DashLine);
        dashed.setWidth(1);
        m_indexLine->setPen(dashed);
        m_levelAxis->setTitleText(QStringLiteral("AEX"));
        m_levelAxis->setLabelFormat(QStringLiteral("%.0f"));
        m_levelAxis->setTickCount(kLevelTicks);
        m_moneyAxis->setTitleText(QStringLiteral("Verschil posities"));
        m_moneyAxis->setLabelFormat(QStringLiteral("%.0f"));
        chart->addAxis(m_levelAxis, Qt::AlignBottom);
        chart->addAxis(m_moneyAxis, Qt::AlignLeft);
        for (QLineSeries *series : {m_todaySeries, m_expirySeries, m_indexLine}) {
            chart->addSeries(series);
            series->attachAxis(m_levelAxis);
            series->attachAxis(m_moneyAxis);
        }
        chart->legend()->setAlignment(Qt::AlignBottom);
        setRenderHint(QPainter::Antialiasing);
    }

    QWidget *view() override { return this; }

    void plot(const QList<QPointF> &today, const QList<QPointF> &atExpiry, const QString &expiryName, double index,
              double low, double high) override
    {
        m_todaySeries->replace(today);
        m_expirySeries->replace(atExpiry);
        m_expirySeries->setName(expiryName);
        m_levelAxis->setRange(low, high);
        // Nil stays in sight, so that where a curve crosses it, the positions break even.
        double bottom = 0, top = 0;
        for (const QList<QPointF> *curve : {&today, &atExpiry}) {
            for (const QPointF &point : *curve) {
                bottom = std::min(bottom, point.y());
                top = std::max(top, point.y());
            }
        }
        if (bottom == top)
            top = 1;
        m_moneyAxis->setRange(bottom, top);
        m_moneyAxis->applyNiceNumbers();
        m_indexLine->replace({QPointF(index, m_moneyAxis->min()), QPointF(index, m_moneyAxis->max())});
    }

    QLineSeries *todaySeries() const override { return m_todaySeries; }
    QLineSeries *expirySeries() const override { return m_expirySeries; }
    QLineSeries *indexLine() const override { return m_indexLine; }

private:
    // Owned by the chart once added to it.
    QLineSeries *m_todaySeries = new QLineSeries;
    QLineSeries *m_expirySeries = new QLineSeries;
    QLineSeries *m_indexLine = new QLineSeries;
    QValueAxis *m_levelAxis = new QValueAxis;
    QValueAxis *m_moneyAxis = new QValueAxis;
};

} // namespace

extern "C" __attribute__((visibility("default"))) PayoffChart *pelgrandix_make_payoff_chart()
{
    return new PayoffChartWidget;
}
