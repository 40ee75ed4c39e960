#include "portfolio/portfolio_model.h"

#include <QHash>
#include <QLocale>

#include <cmath>

#include "positions/position_view.h"
#include "support/text_routines.h"

namespace {

constexpr int kMoneyDecimals = 2;
constexpr int kVolatilityDecimals = 2;
constexpr int kDeltaDecimals = 3;
constexpr int kPositionDeltaDecimals = 1;

// Long headings over two lines, so that the columns are as wide as their figures.
const char *const kHeaders[PortfolioModel::ColumnCount] = {
    "Serie", "Soort", "Expiratie", "Uitoefen-\nkoers", "Aantal", "Transactie-\nkoers", "Laatste\nkoers",
    "Verschil", "Verschil\n/optie", "Advies", "Positie", "Impl. vol.\n%", "Delta", "Positie-\ndelta",
};

std::optional<double> percent(std::optional<double> fraction)
{
    return fraction ? std::optional<double>(*fraction * 100) : std::nullopt;
}

} // namespace

std::optional<double> IndexLevelOf(const QString &sAEX)
{
    const double level = StrToReal(sAEX);
    return level > 0 ? std::optional<double>(level) : std::nullopt;
}

std::vector<PortfolioRow> PortfolioRows(const PortfolioInputs &inputs)
{
    const QDate today = inputs.now.date();
    const risk::Market market{inputs.indexLevel.value_or(0), inputs.ratePercent / 100,
                              inputs.dividendYieldPercent / 100};
    // Many positions share few expiries, and the moment of a close takes time to work out.
    QHash<qint64, double> yearsByExpiry;
    std::vector<PortfolioRow> rows;
    rows.reserve(size_t(inputs.positionLines.size()));
    for (int i = 0; i < inputs.positionLines.size(); ++i) {
        std::optional<PortfolioPosition> read = ReadPortfolioPosition(inputs.positionLines.at(i), i, today);
        if (!read)
            continue;
        PortfolioRow row;
        row.position = std::move(*read);
        const PortfolioPosition &p = row.position;
        if (p.amount != 0)
            row.perOption = p.difference / p.amount;
        const QString action = ChooseAction(p.differenceText, p.flagText);
        if (ActionShown(p.difference, p.amount, action))
            row.advice = action;

        const std::optional<risk::Right> right = p.right();
        if (right && p.expiry.isValid() && inputs.indexLevel) {
            auto years = yearsByExpiry.find(p.expiry.toJulianDay());
            if (years == yearsByExpiry.end())
                years = yearsByExpiry.insert(p.expiry.toJulianDay(), risk::YearsToExpiry(inputs.now, p.expiry));
            const risk::Option option{*right, p.strike, *years};
            row.impliedVolatility = risk::ImpliedVolatility(option, market, p.lastPrice);
            if (row.impliedVolatility)
                row.delta = risk::Delta(option, market, *row.impliedVolatility);
        }
        if (!p.held)
            row.positionDelta = 0.0;
        else if (row.delta)
            row.positionDelta = -p.amount * 100.0 * *row.delta;
        rows.push_back(std::move(row));
    }
    return rows;
}

PortfolioTotals TotalsOf(const std::vector<PortfolioRow> &rows)
{
    PortfolioTotals totals;
    for (const PortfolioRow &row : rows) {
        totals.allDifference += row.position.difference;
        if (!row.position.held)
            continue;
        totals.heldDifference += row.position.difference;
        if (row.positionDelta)
            totals.heldPositionDelta += *row.positionDelta;
        else
            ++totals.heldWithoutDelta;
    }
    return totals;
}

QString FigureText(std::optional<double> value, int decimals)
{
    if (!value)
        return QStringLiteral("---");
    // A value that rounds to zero is written without a sign.
    const double rounded = std::round(*value * std::pow(10.0, decimals)) == 0 ? 0.0 : *value;
    return QLocale().toString(rounded, 'f', decimals);
}

QString TotalsText(const PortfolioTotals &totals)
{
    QString text = QStringLiteral("Verschil posities: %1    Verschil alle regels: %2    "
                                  "Positie-delta posities: %3 per indexpunt")
                       .arg(FigureText(totals.heldDifference, kMoneyDecimals),
                            FigureText(totals.allDifference, kMoneyDecimals),
                            FigureText(totals.heldPositionDelta, kPositionDeltaDecimals));
    if (totals.heldWithoutDelta == 1)
        text += QStringLiteral(" (zonder 1 positie met onbekende delta)");
    else if (totals.heldWithoutDelta > 1)
        text += QStringLiteral(" (zonder %1 posities met onbekende delta)").arg(totals.heldWithoutDelta);
    return text;
}

QString InputsText(const PortfolioInputs &inputs)
{
    const QString index = inputs.indexLevel
        ? QStringLiteral("AEX %1").arg(FigureText(inputs.indexLevel, kMoneyDecimals))
        : QStringLiteral("AEX nog onbekend: impliciete volatiliteit en delta volgen na de eerste indexkoers");
    return QStringLiteral("%1    Rente %2 %    Dividendrendement %3 %")
        .arg(index, FigureText(inputs.ratePercent, 2), FigureText(inputs.dividendYieldPercent, 2));
}

void PortfolioModel::setInputs(const PortfolioInputs &inputs)
{
    beginResetModel();
    m_rows = PortfolioRows(inputs);
    m_totals = TotalsOf(m_rows);
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

QVariant PortfolioModel::sortValue(const PortfolioRow &row, int column) const
{
    const PortfolioPosition &p = row.position;
    const auto figure = [](std::optional<double> value) {
        return value ? QVariant(*value) : QVariant();
    };
    switch (column) {
    case Serie: return p.series;
    case Soort: return p.kind;
    case Expiratie: return p.expiry.isValid() ? QVariant(p.expiry.toJulianDay()) : QVariant();
    case Uitoefenkoers: return p.strike;
    case Aantal: return p.amount;
    case Transactiekoers: return p.transactionPrice;
    case LaatsteKoers: return p.lastPrice;
    case Verschil: return p.difference;
    case VerschilPerOptie: return figure(row.perOption);
    case Advies: return row.advice;
    case Positie: return int(p.held);
    case ImplicieteVolatiliteit: return figure(percent(row.impliedVolatility));
    case Delta: return figure(row.delta);
    case PositieDelta: return figure(row.positionDelta);
    }
    return QVariant();
}

QString PortfolioModel::displayText(const PortfolioRow &row, int column) const
{
    const PortfolioPosition &p = row.position;
    switch (column) {
    case Serie: return p.series;
    case Soort: return p.kind;
    case Expiratie:
        return p.expiry.isValid() ? p.expiry.toString(QStringLiteral("dd-MM-yyyy")) : QStringLiteral("---");
    case Uitoefenkoers: return FigureText(p.strike, kMoneyDecimals);
    case Aantal: return QLocale().toString(p.amount);
    case Transactiekoers: return FigureText(p.transactionPrice, kMoneyDecimals);
    case LaatsteKoers: return FigureText(p.lastPrice, kMoneyDecimals);
    case Verschil: return FigureText(p.difference, kMoneyDecimals);
    case VerschilPerOptie: return FigureText(row.perOption, kMoneyDecimals);
    case Advies: return row.advice;
    case Positie: return QString();
    case ImplicieteVolatiliteit: return FigureText(percent(row.impliedVolatility), kVolatilityDecimals);
    case Delta: return FigureText(row.delta, kDeltaDecimals);
    case PositieDelta: return FigureText(row.positionDelta, kPositionDeltaDecimals);
    }
    return QString();
}

QVariant PortfolioModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return QVariant();
    const PortfolioRow &row = m_rows[size_t(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return displayText(row, column);
    case SortRole:
        return sortValue(row, column);
    case NegativeRole:
        return (column == Verschil || column == VerschilPerOptie) && sortValue(row, column).toDouble() < 0;
    case Qt::CheckStateRole:
        return column == Positie ? QVariant(row.position.held ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::TextAlignmentRole: {
        const bool text = column == Serie || column == Soort || column == Advies;
        return int((text ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    }
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
