#include "portfolio/advice_alerts.h"

#include <cstdio>

#include "platform/desktop_notifier.h"
#include "portfolio/portfolio_position.h"
#include "positions/position_line.h"
#include "positions/position_view.h"
#include "support/product.h"

namespace {

const QString kBuyBack = QStringLiteral("Terugkopen");

} // namespace

QList<AdviceAlert> AdviceAlerts::afterDownload(const QStringList &positionLines)
{
    QHash<QString, QString> advice;
    QHash<QString, int> occurrences;
    QList<AdviceAlert> alerts;
    for (int i = 0; i < positionLines.size(); ++i) {
        const std::optional<PortfolioPosition> position = ReadPortfolioPosition(positionLines.at(i), i);
        if (!position || !position->held)
            continue;
        const QStringList fields = SplitPositionLine(positionLines.at(i));
        const QString title = PositionTitle(fields);
        // Lines of one option written at different times differ in their transaction price or
        // amount: with those in the key, a line unticked, ticked or deleted does not hand its
        // advice to another line of the option. Lines that agree in all of it agree in their
        // advice too, so their order among themselves does not matter.
        const QString line = title + QLatin1Char('\n') + fields.value(field::TransactionPrice)
                             + QLatin1Char('\n') + fields.value(field::Amount);
        const QString key = line + QLatin1Char('\n') + QString::number(occurrences[line]++);
        const QString now = ShownAdvice(*position);
        advice.insert(key, now);
        if (!m_previous)
            continue;
        const auto before = m_previous->constFind(key);
        if (before == m_previous->cend() || (*before == kBuyBack) == (now == kBuyBack))
            continue;
        alerts.append({QStringLiteral("Pelgrandix: ") + title,
                       QStringLiteral("Advies: %1 (verschil %2)").arg(now, fields.value(field::Difference))});
    }
    m_previous = std::move(advice);
    return alerts;
}

void ShowAdviceAlerts(const QList<AdviceAlert> &alerts)
{
    if (alerts.isEmpty())
        return;
    platform::DesktopNotifier notifier(QStringLiteral("Pelgrandix"), QLatin1String(kDesktopEntryId));
    for (const AdviceAlert &alert : alerts) {
        QString reason;
        if (!notifier.notify(alert.summary, alert.body, &reason))
            std::fprintf(stderr, "pelgrandix: notification not shown (%s): %s: %s\n", qPrintable(reason),
                         qPrintable(alert.summary), qPrintable(alert.body));
    }
}
