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

QList<AdviceAlert> AdviceAlerts::afterDownload(const QStringList &positionLines, const QDate &today)
{
    QHash<QString, QString> advice;
    QHash<QString, int> occurrences;
    QList<AdviceAlert> alerts;
    for (int i = 0; i < positionLines.size(); ++i) {
        const std::optional<PortfolioPosition> position = ReadPortfolioPosition(positionLines.at(i), i, today);
        if (!position || !position->held)
            continue;
        const QStringList fields = SplitPositionLine(positionLines.at(i));
        const QString title = PositionTitle(fields);
        const QString key = title + QLatin1Char('\n') + QString::number(occurrences[title]++);
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
