#pragma once
// When the download timer may fetch prices: during the trading day every period; after 18:10
// until a download has finished at 18:39 or later (the closing prices are in then); and before
// 09:00 only while the last download finished before 18:39.

#include <QTime>

bool DownloadAllowed(const QTime &now, const QTime &lastTime);
