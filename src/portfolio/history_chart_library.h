#pragma once
// The library that draws the overview's chart (history_chart.h says why it is one), opened
// the way libcurl is: when it is first needed, from the folder the program runs from.

#include <QString>

#include "portfolio/history_chart.h"

namespace history_chart_library {

// Opens the chart library in this folder and finds its entry point. Null, with the reason in
// error, when the library is missing, cannot be opened or lacks the entry point.
MakeHistoryChart open(const QString &folder, QString &error);

} // namespace history_chart_library
