#pragma once
// What follows every download of the window's book that ran to its end: the history file gets a
// row per position, and the desktop alerts hear of the written options whose advice changed.

#include <QObject>

#include "portfolio/advice_alerts.h"

class PositionsBook;

class DownloadRecorder : public QObject
{
    Q_OBJECT
public:
    explicit DownloadRecorder(PositionsBook &book);

private:
    void record();

    PositionsBook &m_book;
    // The advice of the written options after the last download.
    AdviceAlerts m_adviceAlerts;
};
