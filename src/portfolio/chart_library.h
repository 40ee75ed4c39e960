#pragma once
// The library that draws the overview's charts (history_chart.h says why it is one), opened
// the way libcurl is: when it is first needed, from the folder the program runs from.

#include <QString>

#include "portfolio/history_chart.h"
#include "portfolio/payoff_chart.h"

namespace chart_library {

// Opens the chart library in this folder and finds the entry point that makes the chart. Null,
// with the reason in error, when the library is missing, cannot be opened or lacks the entry
// point.
MakeHistoryChart openHistoryChart(const QString &folder, QString &error);
MakePayoffChart openPayoffChart(const QString &folder, QString &error);

} // namespace chart_library
