#include "report/report_output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <vector>

#include "portfolio/history_file.h"
#include "portfolio/payoff.h"
#include "support/product.h"

namespace {

QJsonValue jsonNumber(std::optional<double> value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QString padded(const QString &text, qsizetype width, bool right)
{
    return right ? text.rightJustified(width, QLatin1Char(' ')) : text.leftJustified(width, QLatin1Char(' '));
}

} // namespace

ReportOutput::ReportOutput(const PortfolioInputs &inputs, const QString &status)
    : m_inputs(inputs), m_status(status)
{
    m_model.setInputs(inputs);
}

int ReportOutput::unreadableLines() const
{
    return int(m_inputs.positionLines.size() - qsizetype(m_model.rows().size()));
}

QString ReportOutput::cellText(int row, int column) const
{
    // The overview leaves a hidden advice blank and shows the flag as a check box; in print the
    // advice reads as the alerts and the JSON name it, and the flag as a word.
    const PortfolioPosition &position = m_model.row(row).position;
    if (column == PortfolioModel::Advies)
        return ShownAdvice(position);
    if (column == PortfolioModel::Positie)
        return position.held ? QStringLiteral("ja") : QStringLiteral("nee");
    return m_model.data(m_model.index(row, column)).toString();
}

QByteArray ReportOutput::table() const
{
    QString text = QStringLiteral("Pelgrandix, versie %1: %2\n%3\n\n")
                       .arg(QLatin1String(kRelease),
                            m_inputs.now.toString(QStringLiteral("dd-MM-yyyy hh:mm")), m_status);
    const int columns = PortfolioModel::ColumnCount;
    const int rows = m_model.rowCount();
    if (rows == 0) {
        text += QStringLiteral("Geen posities.\n");
    } else {
        // The headings over two lines, as the overview shows them.
        std::vector<QStringList> headings(columns);
        std::vector<qsizetype> widths(columns, 0);
        std::vector<bool> right(columns, false);
        int headingLines = 1;
        for (int c = 0; c < columns; ++c) {
            headings[c] = m_model.headerData(c, Qt::Horizontal).toString().split(QLatin1Char('\n'));
            headingLines = std::max(headingLines, int(headings[c].size()));
            for (const QString &part : headings[c])
                widths[c] = std::max(widths[c], part.size());
            right[c] = (m_model.data(m_model.index(0, c), Qt::TextAlignmentRole).toInt() & Qt::AlignRight) != 0;
        }
        std::vector<QStringList> cells(rows);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                cells[r] << cellText(r, c);
                widths[c] = std::max(widths[c], cells[r].last().size());
            }
        }
        const auto line = [&](const auto &textAt) {
            QStringList parts;
            for (int c = 0; c < columns; ++c)
                parts << padded(textAt(c), widths[c], right[c]);
            QString joined = parts.join(QStringLiteral("  "));
            while (joined.endsWith(QLatin1Char(' ')))
                joined.chop(1);
            return joined + QLatin1Char('\n');
        };
        for (int l = 0; l < headingLines; ++l)
            text += line([&](int c) { return headings[c].value(l); });
        for (int r = 0; r < rows; ++r)
            text += line([&](int c) { return cells[r].at(c); });
    }
    text += QLatin1Char('\n') + TotalsText(m_model.totals()) + QLatin1Char('\n')
        + RiskTotalsText(m_model.totals()) + QLatin1Char('\n') + CoverText(m_model.totals()) + QLatin1Char('\n')
        + InputsText(m_inputs) + QLatin1Char('\n');
    const int unreadable = unreadableLines();
    if (unreadable == 1)
        text += QStringLiteral("1 regel van Regels.dat is niet leesbaar.\n");
    else if (unreadable > 1)
        text += QStringLiteral("%1 regels van Regels.dat zijn niet leesbaar.\n").arg(unreadable);
    return text.toUtf8();
}

QByteArray ReportOutput::csv() const
{
    using namespace history_file;
    QByteArray bytes = encodeLine({
        QStringLiteral("tijd"), QStringLiteral("aex"), QStringLiteral("serie"), QStringLiteral("soort"),
        QStringLiteral("maand"), QStringLiteral("jaar"), QStringLiteral("uitoefenkoers"),
        QStringLiteral("transactiekoers"), QStringLiteral("laatste koers"), QStringLiteral("aantal"),
        QStringLiteral("verschil"), QStringLiteral("verschil per optie"), QStringLiteral("advies"),
        QStringLiteral("positie"), QStringLiteral("impl. vol. %"), QStringLiteral("delta"),
        QStringLiteral("positie-delta"), QStringLiteral("theta/dag"), QStringLiteral("margin"),
        QStringLiteral("dagen"), QStringLiteral("premie"),
    });
    const QString time = history_file::timeField(m_inputs.now);
    for (const PortfolioRow &row : m_model.rows()) {
        const PortfolioPosition &p = row.position;
        bytes += encodeLine({
            time,
            numberField(m_inputs.indexLevel, kMoneyDecimals),
            textField(p.series),
            textField(p.kind),
            textField(p.month),
            QString::number(p.year),
            numberField(p.strike),
            numberField(p.transactionPrice),
            numberField(p.lastPrice),
            QString::number(p.amount),
            numberField(p.difference),
            numberField(row.perOption, kMoneyDecimals),
            ShownAdvice(p),
            p.held ? QStringLiteral("1") : QStringLiteral("0"),
            numberField(PercentOf(row.impliedVolatility), kVolatilityDecimals),
            numberField(row.delta, kDeltaDecimals),
            numberField(row.positionDelta, kPositionDeltaDecimals),
            numberField(row.positionThetaPerDay, kMoneyDecimals),
            numberField(row.marginEstimate, kMoneyDecimals),
            row.daysToExpiry ? QString::number(*row.daysToExpiry) : QString(),
            numberField(row.premium, kMoneyDecimals),
        });
    }
    return bytes;
}

QByteArray ReportOutput::json() const
{
    QJsonArray positions;
    for (const PortfolioRow &row : m_model.rows()) {
        const PortfolioPosition &p = row.position;
        positions.append(QJsonObject{
            {QStringLiteral("series"), p.series},
            {QStringLiteral("kind"), p.kind},
            {QStringLiteral("month"), p.month},
            {QStringLiteral("year"), p.year},
            {QStringLiteral("expiry"), p.expiry.isValid() ? QJsonValue(p.expiry.toString(Qt::ISODate))
                                                          : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("days_to_expiry"),
             row.daysToExpiry ? QJsonValue(*row.daysToExpiry) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("strike"), p.strike},
            {QStringLiteral("amount"), p.amount},
            {QStringLiteral("transaction_price"), p.transactionPrice},
            {QStringLiteral("premium"), row.premium},
            {QStringLiteral("last_price"), p.lastPrice},
            {QStringLiteral("difference"), p.difference},
            {QStringLiteral("difference_per_option"), jsonNumber(row.perOption)},
            {QStringLiteral("advice"), ShownAdvice(p)},
            {QStringLiteral("held"), p.held},
            {QStringLiteral("implied_volatility"), jsonNumber(row.impliedVolatility)},
            {QStringLiteral("delta"), jsonNumber(row.delta)},
            {QStringLiteral("position_delta"), jsonNumber(row.positionDelta)},
            {QStringLiteral("gamma"), jsonNumber(row.gamma)},
            {QStringLiteral("vega"), jsonNumber(row.vega)},
            {QStringLiteral("theta_per_day"), jsonNumber(row.thetaPerDay)},
            {QStringLiteral("position_gamma"), jsonNumber(row.positionGamma)},
            {QStringLiteral("position_vega"), jsonNumber(row.positionVega)},
            {QStringLiteral("position_theta_per_day"), jsonNumber(row.positionThetaPerDay)},
            {QStringLiteral("margin_estimate"), jsonNumber(row.marginEstimate)},
            {QStringLiteral("cash_cover"), jsonNumber(row.cashCover)},
        });
    }
    // The grid without a volatility shift and the levels where the chart's expiry curve is nil;
    // both null before the first index quote.
    QJsonValue scenarios(QJsonValue::Null);
    QJsonValue breakEvens(QJsonValue::Null);
    if (const std::optional<ScenarioBook> book = MakeScenarioBook(m_inputs, m_model.rows())) {
        QJsonArray grid;
        for (const ScenarioRow &row : ScenarioGrid(*book)) {
            grid.append(QJsonObject{
                {QStringLiteral("index_move"), row.move},
                {QStringLiteral("index_level"), row.level},
                {QStringLiteral("difference_now"), row.now},
                {QStringLiteral("difference_week"), row.inOneWeek},
                {QStringLiteral("difference_at_expiry"), row.atExpiry},
            });
        }
        scenarios = grid;
        QJsonArray levels;
        for (const BreakEven &level : PayoffOf(*book).breakEvens)
            levels.append(level.isStretch() ? QJsonValue(QJsonArray{level.from, level.to}) : QJsonValue(level.from));
        breakEvens = levels;
    }
    const PortfolioTotals &totals = m_model.totals();
    const QJsonObject report{
        {QStringLiteral("time"), history_file::timeField(m_inputs.now)},
        {QStringLiteral("status"), m_status},
        {QStringLiteral("rate"), m_inputs.ratePercent / 100},
        {QStringLiteral("dividend_yield"), m_inputs.dividendYieldPercent / 100},
        {QStringLiteral("positions"), positions},
        {QStringLiteral("scenarios"), scenarios},
        {QStringLiteral("break_even_levels"), breakEvens},
        {QStringLiteral("totals"),
         QJsonObject{
             {QStringLiteral("difference_held"), totals.heldDifference},
             {QStringLiteral("difference_all"), totals.allDifference},
             {QStringLiteral("position_delta_held"), totals.heldPositionDelta},
             {QStringLiteral("held_without_delta"), totals.heldWithoutDelta},
             {QStringLiteral("position_gamma_held"), totals.heldGamma.sum},
             {QStringLiteral("position_vega_held"), totals.heldVega.sum},
             {QStringLiteral("position_theta_per_day_held"), totals.heldThetaPerDay.sum},
             {QStringLiteral("margin_estimate_held"), totals.heldMargin.sum},
             {QStringLiteral("cash_cover_puts_held"), totals.cashCoverPuts},
             {QStringLiteral("index_level"), jsonNumber(m_inputs.indexLevel)},
             {QStringLiteral("unreadable_lines"), unreadableLines()},
         }},
    };
    return QJsonDocument(report).toJson(QJsonDocument::Indented);
}
