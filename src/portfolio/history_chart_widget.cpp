// The overview's chart with Qt Charts, built into a library of its own (history_chart.h says
// why): the only code of the program that links Qt Charts.

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>

#include "portfolio/history_chart.h"

namespace {

// A value axis over the values, with some room above and below a single value.
void fitAxis(QValueAxis *axis, const QList<QPointF> &points)
{
    if (points.isEmpty())
        return;
    const auto [low, high] = std::minmax_element(points.begin(), points.end(),
                                                 [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
    const double margin = low->y() == high->y() ? 1.0 : 0.0;
    axis->setRange(low->y() - margin, high->y() + margin);
    axis->applyNiceNumbers();
}

class HistoryChartWidget : public QChartView, public HistoryChart
{
public:
    // The chart is handed to the view's constructor: a view made without one makes a chart of
    // its own, which a later setChart() lets go of without deleting it.
    explicit HistoryChartWidget(const HistoryPointHovered &hovered) : QChartView(new QChart)
    {
        QChart *chart = this->chart();
        chart->setLocalizeNumbers(true);
        m_differenceSeries->setName(QStringLiteral("Verschil"));
        m_indexSeries->setName(QStringLiteral("AEX"));
        m_differenceAxis->setTitleText(QStringLiteral("Verschil"));
        m_differenceAxis->setLabelFormat(QStringLiteral("%.0f"));
        m_indexAxis->setTitleText(QStringLiteral("AEX"));
        m_indexAxis->setLabelFormat(QStringLiteral("%.1f"));
        chart->addAxis(m_timeAxis, Qt::AlignBottom);
        chart->addAxis(m_differenceAxis, Qt::AlignLeft);
        chart->addAxis(m_indexAxis, Qt::AlignRight);
        for (QLineSeries *series : {m_differenceSeries, m_indexSeries}) {
            series->setPointsVisible(true);
            chart->addSeries(series);
            series->attachAxis(m_timeAxis);
            QObject::connect(series, &QLineSeries::hovered, this, hovered);
        }
        m_differenceSeries->attachAxis(m_differenceAxis);
        m_indexSeries->attachAxis(m_indexAxis);
        chart->legend()->setAlignment(Qt::AlignBottom);
        setRenderHint(QPainter::Antialiasing);
    }

    QWidget *view() override { return this; }

    void plot(const QList<QPointF> &differences, const QList<QPointF> &levels, const QDateTime &from,
              const QDateTime &to, const QString &timeFormat) override
    {
        m_differenceSeries->replace(differences);
        m_indexSeries->replace(levels);
        m_timeAxis->setFormat(timeFormat);
        m_timeAxis->setRange(from, to);
        fitAxis(m_differenceAxis, differences);
        fitAxis(m_indexAxis, levels);
    }

    QLineSeries *differenceSeries() const override { return m_differenceSeries; }
    QLineSeries *indexSeries() const override { return m_indexSeries; }

private:
    // Owned by the chart once added to it.
    QLineSeries *m_differenceSeries = new QLineSeries;
    QLineSeries *m_indexSeries = new QLineSeries;
    QDateTimeAxis *m_timeAxis = new QDateTimeAxis;
    QValueAxis *m_differenceAxis = new QValueAxis;
    QValueAxis *m_indexAxis = new QValueAxis;
};

} // namespace

extern "C" __attribute__((visibility("default"))) HistoryChart *pelgrandix_make_history_chart(
    const HistoryPointHovered &hovered)
{
    return new HistoryChartWidget(hovered);
}
