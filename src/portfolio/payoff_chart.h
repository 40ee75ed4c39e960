#pragma once
// The payoff chart on the overview's tab "Uitbetaling": what the held positions would show
// against the AEX level, today and at their first expiry, with a line at today's level. Drawn
// with Qt Charts in the same library as the history chart (history_chart.h says why that is a
// library of its own, opened when the overview is first made); this header is all the program
// and the library share of it.

#include <QList>
#include <QPointF>
#include <QString>

class QLineSeries;
class QWidget;

class PayoffChart
{
public:
    // The chart's widget. The window that places it becomes its owner, and so of the chart.
    virtual QWidget *view() = 0;
    // Shows the curves (x the AEX level, y the money) over the levels low..high, the second one
    // under the given name, and a vertical line at the index level.
    virtual void plot(const QList<QPointF> &today, const QList<QPointF> &atExpiry, const QString &expiryName,
                      double index, double low, double high) = 0;
    virtual QLineSeries *todaySeries() const = 0;
    virtual QLineSeries *expirySeries() const = 0;
    virtual QLineSeries *indexLine() const = 0;

protected:
    virtual ~PayoffChart() = default;
};

// The library's entry point for it: makes a chart without a parent. The program looks it up by
// the name below and never calls it by its own name.
extern "C" PayoffChart *pelgrandix_make_payoff_chart();
using MakePayoffChart = decltype(&pelgrandix_make_payoff_chart);
inline constexpr char kMakePayoffChartName[] = "pelgrandix_make_payoff_chart";
