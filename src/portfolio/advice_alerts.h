#pragma once
// Desktop alerts when the advice for a written option changes. After every download that ran
// to its end, the advice of every readable held position ("Positie:" ticked) is compared with
// its advice after the download before, in this run. A position whose advice becomes
// "Terugkopen", or stops being "Terugkopen", gives one alert. The first download, and a
// position that was not held or not there at the download before, only record.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct AdviceAlert {
    QString summary;  // "Pelgrandix: AEX Put mrt 2013 380"
    QString body;     // "Advies: Terugkopen (verschil 90,00)"
};

class AdviceAlerts
{
public:
    // The alerts for the positions as they stand after a download; the advice of each is
    // remembered for the next download.
    QList<AdviceAlert> afterDownload(const QStringList &positionLines);

private:
    // The advice of each held position after the last download, by the position's title,
    // transaction price and amount and the count of held positions with all of those the same
    // before it. None before the first.
    std::optional<QHash<QString, QString>> m_previous;
};

// Shows each alert as a desktop notification, within one second for all of them together; an
// alert that cannot be shown is written to standard error instead.
void ShowAdviceAlerts(const QList<AdviceAlert> &alerts);
