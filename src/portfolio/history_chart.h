#pragma once
// The chart of one position's history on the overview's tab "Grafiek": its money difference on
// the left axis and the AEX level on the right one, over time. It is drawn with Qt Charts, which
// with the OpenGL libraries it brings made every start of the program slower and larger, though
// few starts open the overview. So the chart lives in a library of the program's own, installed
// beside it (history_chart_widget.cpp), which the overview opens when it is first made
// (chart_library.h); this header is all the two share of it.

#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QString>

#include <functional>

class QLineSeries;
class QWidget;

class HistoryChart
{
public:
    // The chart's widget. The window that places it becomes its owner, and so of the chart.
    virtual QWidget *view() = 0;
    // Shows the two series over the time from..to, the time labelled in this format.
    virtual void plot(const QList<QPointF> &differences, const QList<QPointF> &levels,
                      const QDateTime &from, const QDateTime &to, const QString &timeFormat) = 0;
    virtual QLineSeries *differenceSeries() const = 0;
    virtual QLineSeries *indexSeries() const = 0;

protected:
    virtual ~HistoryChart() = default;
};

// Told of a point of either series when the mouse comes onto it (true) and leaves it (false).
using HistoryPointHovered = std::function<void(const QPointF &point, bool hovering)>;

// The library's entry point for it (payoff_chart.h holds the other): makes a chart without a
// parent. The program looks it up by the name below and never calls it by its own name.
extern "C" HistoryChart *pelgrandix_make_history_chart(const HistoryPointHovered &hovered);
using MakeHistoryChart = decltype(&pelgrandix_make_history_chart);
inline constexpr char kMakeHistoryChartName[] = "pelgrandix_make_history_chart";
