#include "portfolio/portfolio_model.h"

#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/vector_state.h"
#include "portfolio/cover.h"
#include "positions/position_view.h"
#include "support/held_locale.h"
#include "support/text_routines.h"

namespace {

// Long headings over two lines, so that the columns are as wide as their figures.
const char *const kHeaders[PortfolioModel::ColumnCount] = {
    "Serie", "Soort", "Expiratie", "Dagen", "Uitoefen-\nkoers", "Aantal", "Transactie-\nkoers", "Premie",
    "Laatste\nkoers",
    "Verschil", "Verschil\n/optie", "Advies", "Positie", "Impl. vol.\n%", "Delta", "Positie-\ndelta",
    "Theta/dag", "Gamma", "Vega", "Margin",
};

// A written position's share of a figure of one option: the writer holds -amount x 100 options.
std::optional<double> positionFigure(const PortfolioPosition &p, std::optional<double> perOption)
{
    if (!p.held)
        return 0.0;
    if (!perOption)
        return std::nullopt;
    // A figure of 0 stays 0, not -0, which the report would print as such.
    const double figure = -p.amount * 100.0 * *perOption;
    return figure == 0 ? 0.0 : figure;
}

std::optional<double> heldOnly(const PortfolioPosition &p, std::optional<double> figure)
{
    return p.held ? figure : std::nullopt;
}

// " (zonder 2 posities met onbekende delta)"; nothing when none is left out.
QString leftOutText(int leftOut, const QString &figure)
{
    if (leftOut <= 0)
        return QString();
    if (leftOut == 1)
        return QStringLiteral(" (zonder 1 positie met onbekende %1)").arg(figure);
    return QStringLiteral(" (zonder %1 posities met onbekende %2)").arg(leftOut).arg(figure);
}

} // namespace

std::optional<double> PercentOf(std::optional<double> fraction)
{
    return fraction ? std::optional<double>(*fraction * 100) : std::nullopt;
}

std::vector<PortfolioRow> PortfolioRows(const PortfolioInputs &inputs)
{
    const risk::Market market{inputs.indexLevel.value_or(0), inputs.ratePercent / 100,
                              inputs.dividendYieldPercent / 100};
    // Many positions share few expiries, and the moment of a close takes time to work out.
    QHash<qint64, double> yearsByExpiry;
    // Every line's numbers and month are read below, with nothing in between that changes the
    // locale.
    const HeldLocale heldLocale;
    platform::leaveWideVectorState();
    std::vector<PortfolioRow> rows;
    rows.reserve(size_t(inputs.positionLines.size()));
    for (int i = 0; i < inputs.positionLines.size(); ++i) {
        std::optional<PortfolioPosition> read = ReadPortfolioPosition(inputs.positionLines.at(i), i);
        if (!read)
            continue;
        PortfolioRow row;
        row.position = std::move(*read);
        const PortfolioPosition &p = row.position;
        if (p.expiry.isValid())
            row.daysToExpiry = int(inputs.now.date().daysTo(p.expiry));
        row.premium = p.amount * 100.0 * p.transactionPrice;
        if (p.amount != 0)
            row.perOption = p.difference / p.amount;
        if (ActionShown(p.difference, p.amount, p.action))
            row.advice = p.action;

        const std::optional<risk::Right> right = p.right();
        std::optional<double> marginPerContract;
        if (right && p.expiry.isValid() && inputs.indexLevel) {
            auto years = yearsByExpiry.find(p.expiry.toJulianDay());
            if (years == yearsByExpiry.end())
                years = yearsByExpiry.insert(p.expiry.toJulianDay(), risk::YearsToExpiry(inputs.now, p.expiry));
            const risk::Option option{*right, p.strike, *years};
            row.impliedVolatility = risk::ImpliedVolatility(option, market, p.lastPrice);
            if (row.impliedVolatility) {
                const double volatility = *row.impliedVolatility;
                row.delta = risk::Delta(option, market, volatility);
                row.gamma = risk::Gamma(option, market, volatility);
                row.vega = risk::Vega(option, market, volatility);
                row.thetaPerDay = risk::ThetaPerDay(option, market, volatility);
            } else if (*years <= 0) {
                row.gamma = row.vega = row.thetaPerDay = 0.0;
            }
            // Without a price the margin would come out as a low figure that no broker asks.
            if (p.lastPrice > 0)
                marginPerContract = 100 * cover::MarginPerOption(*right, p.strike, p.lastPrice, market.index,
                                                                 inputs.marginPercent / 100);
        }
        row.positionDelta = positionFigure(p, row.delta);
        row.positionGamma = positionFigure(p, row.gamma);
        row.positionVega = positionFigure(p, row.vega);
        row.positionThetaPerDay = positionFigure(p, row.thetaPerDay);
        // A line held with no contracts, or fewer than none, has nothing written to cover.
        const int written = std::max(p.amount, 0);
        if (marginPerContract)
            row.marginEstimate = heldOnly(p, *marginPerContract * written);
        if (right == risk::Right::Put)
            row.cashCover = heldOnly(p, p.strike * 100.0 * written);
        rows.push_back(std::move(row));
    }
    return rows;
}

void HeldSum::add(std::optional<double> figure)
{
    if (figure)
        sum += *figure;
    else
        ++leftOut;
}

PortfolioTotals TotalsOf(const std::vector<PortfolioRow> &rows)
{
    PortfolioTotals totals;
    std::vector<cover::WrittenContracts> written;
    for (const PortfolioRow &row : rows) {
        const PortfolioPosition &p = row.position;
        totals.allDifference += p.difference;
        if (!p.held)
            continue;
        totals.heldDifference += p.difference;
        if (row.positionDelta)
            totals.heldPositionDelta += *row.positionDelta;
        else
            ++totals.heldWithoutDelta;
        totals.heldThetaPerDay.add(row.positionThetaPerDay);
        totals.heldGamma.add(row.positionGamma);
        totals.heldVega.add(row.positionVega);
        totals.cashCoverPuts += row.cashCover.value_or(0);
        if (!row.marginEstimate)
            ++totals.heldMargin.leftOut;
        else if (p.amount > 0)
            written.push_back({*p.right(), p.expiry, p.amount, *row.marginEstimate / p.amount});
    }
    totals.heldMargin.sum = cover::PairedMargin(written);
    return totals;
}

QString FigureText(std::optional<double> value, int decimals)
{
    return value ? LocaleFixedText(*value, decimals, QLocale()) : QStringLiteral("---");
}

QString TotalsText(const PortfolioTotals &totals)
{
    QString text = QStringLiteral("Verschil posities: %1    Verschil alle regels: %2    "
                                  "Positie-delta posities: %3 per indexpunt")
                       .arg(FigureText(totals.heldDifference, kMoneyDecimals),
                            FigureText(totals.allDifference, kMoneyDecimals),
                            FigureText(totals.heldPositionDelta, kPositionDeltaDecimals));
    return text + leftOutText(totals.heldWithoutDelta, QStringLiteral("delta"));
}

QString RiskTotalsText(const PortfolioTotals &totals)
{
    return QStringLiteral("Theta posities: %1 per dag%2    Gamma posities: %3 per indexpunt%4    "
                          "Vega posities: %5 per volatiliteitspunt%6")
        .arg(FigureText(totals.heldThetaPerDay.sum, kMoneyDecimals),
             leftOutText(totals.heldThetaPerDay.leftOut, QStringLiteral("theta")),
             FigureText(totals.heldGamma.sum, kPositionGammaDecimals),
             leftOutText(totals.heldGamma.leftOut, QStringLiteral("gamma")),
             FigureText(totals.heldVega.sum, kMoneyDecimals),
             leftOutText(totals.heldVega.leftOut, QStringLiteral("vega")));
}

QString CoverText(const PortfolioTotals &totals)
{
    return QStringLiteral("Kasdekking puts: %1    Geschatte margin (schatting; uw broker rekent zelf): %2%3")
        .arg(FigureText(totals.cashCoverPuts, kMoneyDecimals), FigureText(totals.heldMargin.sum, kMoneyDecimals),
             leftOutText(totals.heldMargin.leftOut, QStringLiteral("margin")));
}

QString InputsText(const PortfolioInputs &inputs)
{
    QString index = inputs.indexLevel
        ? QStringLiteral("AEX %1").arg(FigureText(inputs.indexLevel, kMoneyDecimals))
        : QStringLiteral("AEX nog onbekend: impliciete volatiliteit en delta volgen na de eerste indexkoers");
    // The moment of the level as the index labels show it, with its day when that is not today
    // (a quote of Friday's close on a Monday morning).
    if (inputs.indexLevel && inputs.indexMoment.isValid()) {
        const QDateTime &moment = inputs.indexMoment;
        index += moment.toString(QStringLiteral(" 'om' HH:mm"));
        if (moment.date() != inputs.now.toOffsetFromUtc(moment.offsetFromUtc()).date())
            index += moment.toString(QStringLiteral(" 'op' dd-MM-yyyy"));
    }
    return QStringLiteral("%1    Rente %2 %    Dividendrendement %3 %")
        .arg(index, FigureText(inputs.ratePercent, 2), FigureText(inputs.dividendYieldPercent, 2));
}

void PortfolioModel::setInputs(const PortfolioInputs &inputs)
{
    beginResetModel();
    m_rows = PortfolioRows(inputs);
    m_totals = TotalsOf(m_rows);
    sortRows();
    endResetModel();
}

int PortfolioModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PortfolioModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

bool PortfolioModel::isTextColumn(int column)
{
    return column == Serie || column == Soort || column == Advies;
}

const QString &PortfolioModel::sortText(const PortfolioRow &row, int column)
{
    switch (column) {
    case Serie: return row.position.series;
    case Soort: return row.position.kind;
    default: return row.advice;
    }
}

std::optional<double> PortfolioModel::sortNumber(const PortfolioRow &row, int column)
{
    const PortfolioPosition &p = row.position;
    switch (column) {
    case Expiratie: return p.expiry.isValid() ? std::optional<double>(double(p.expiry.toJulianDay())) : std::nullopt;
    case Dagen: return row.daysToExpiry ? std::optional<double>(*row.daysToExpiry) : std::nullopt;
    case Uitoefenkoers: return p.strike;
    case Aantal: return double(p.amount);
    case Transactiekoers: return p.transactionPrice;
    case Premie: return row.premium;
    case LaatsteKoers: return p.lastPrice;
    case Verschil: return p.difference;
    case VerschilPerOptie: return row.perOption;
    case Positie: return double(p.held);
    case ImplicieteVolatiliteit: return PercentOf(row.impliedVolatility);
    case Delta: return row.delta;
    case PositieDelta: return row.positionDelta;
    case ThetaPerDag: return row.positionThetaPerDay;
    case Gamma: return row.positionGamma;
    case Vega: return row.positionVega;
    case Margin: return row.marginEstimate;
    }
    return std::nullopt;
}

void PortfolioModel::sortRows()
{
    const int column = m_sortColumn;
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    std::vector<std::pair<double, int>> keys(m_rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i) {
        double key = double(i);
        if (column >= 0 && column < ColumnCount && !isTextColumn(column)) {
            // Unknown figures last, whichever the order.
            const std::optional<double> number = sortNumber(m_rows[i], column);
            key = !number ? std::numeric_limits<double>::infinity() : descending ? -*number : *number;
        }
        keys[i] = {key, int(i)};
    }
    if (column >= 0 && isTextColumn(column)) {
        std::stable_sort(keys.begin(), keys.end(), [this, column, descending](const auto &x, const auto &y) {
            const int order = QString::localeAwareCompare(sortText(m_rows[size_t(x.second)], column),
                                                          sortText(m_rows[size_t(y.second)], column));
            return descending ? order > 0 : order < 0;
        });
    } else {
        std::stable_sort(keys.begin(), keys.end(),
                         [](const auto &x, const auto &y) { return x.first < y.first; });
    }
    m_order.resize(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        m_order[i] = keys[i].second;
}

void PortfolioModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Selections and other kept indexes follow their row to its new place.
    const QModelIndexList kept = persistentIndexList();
    QList<int> keptRows;
    for (const QModelIndex &index : kept)
        keptRows << m_order[size_t(index.row())];
    sortRows();
    std::vector<int> placeOf(m_order.size());
    for (size_t place = 0; place < m_order.size(); ++place)
        placeOf[size_t(m_order[place])] = int(place);
    QModelIndexList moved;
    for (qsizetype i = 0; i < kept.size(); ++i)
        moved << index(placeOf[size_t(keptRows.at(i))], kept.at(i).column());
    changePersistentIndexList(kept, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString PortfolioModel::displayText(const PortfolioRow &row, int column) const
{
    const PortfolioPosition &p = row.position;
    switch (column) {
    case Serie: return p.series;
    case Soort: return p.kind;
    case Expiratie:
        return p.expiry.isValid() ? p.expiry.toString(QStringLiteral("dd-MM-yyyy")) : QStringLiteral("---");
    case Dagen: return row.daysToExpiry ? QLocale().toString(*row.daysToExpiry) : QStringLiteral("---");
    case Uitoefenkoers: return FigureText(p.strike, kMoneyDecimals);
    case Aantal: return QLocale().toString(p.amount);
    case Transactiekoers: return FigureText(p.transactionPrice, kMoneyDecimals);
    case Premie: return FigureText(row.premium, kMoneyDecimals);
    case LaatsteKoers: return FigureText(p.lastPrice, kMoneyDecimals);
    case Verschil: return FigureText(p.difference, kMoneyDecimals);
    case VerschilPerOptie: return FigureText(row.perOption, kMoneyDecimals);
    case Advies: return row.advice;
    case Positie: return QString();
    case ImplicieteVolatiliteit: return FigureText(PercentOf(row.impliedVolatility), kVolatilityDecimals);
    case Delta: return FigureText(row.delta, kDeltaDecimals);
    case PositieDelta: return FigureText(row.positionDelta, kPositionDeltaDecimals);
    case ThetaPerDag: return FigureText(row.positionThetaPerDay, kMoneyDecimals);
    case Gamma: return FigureText(row.positionGamma, kPositionGammaDecimals);
    case Vega: return FigureText(row.positionVega, kMoneyDecimals);
    case Margin: return FigureText(row.marginEstimate, kMoneyDecimals);
    }
    return QString();
}

QVariant PortfolioModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return QVariant();
    const PortfolioRow &row = this->row(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return displayText(row, column);
    case SortRole: {
        if (isTextColumn(column))
            return sortText(row, column);
        const std::optional<double> number = sortNumber(row, column);
        return number ? QVariant(*number) : QVariant();
    }
    case NegativeRole:
        return (column == Verschil || column == VerschilPerOptie || column == ThetaPerDag)
            && sortNumber(row, column).value_or(0) < 0;
    case Qt::CheckStateRole:
        return column == Positie ? QVariant(row.position.held ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::TextAlignmentRole:
        return int((isTextColumn(column) ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

QVariant PortfolioModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(kHeaders[section]);
}

