#include "portfolio/roll_candidate_model.h"

#include "portfolio/portfolio_model.h"

namespace {

const char *const kHeaders[RollCandidateModel::ColumnCount] = {
    "Serie", "Expiratie", "Uitoefenkoers", "Koers", "Netto credit", "Delta", "Credit per extra dag",
};

std::optional<double> sortValue(const RollCandidate &c, int column)
{
    switch (column) {
    case RollCandidateModel::Expiratie: return double(c.expiry.toJulianDay());
    case RollCandidateModel::Uitoefenkoers: return c.strike;
    case RollCandidateModel::Koers: return c.price;
    case RollCandidateModel::NettoCredit: return c.netCredit;
    case RollCandidateModel::Delta: return c.delta;
    case RollCandidateModel::CreditPerDag: return c.creditPerExtraDay;
    }
    return std::nullopt;
}

} // namespace

void RollCandidateModel::setCandidates(std::vector<RollCandidate> candidates, const QString &kind)
{
    beginResetModel();
    m_candidates = std::move(candidates);
    m_kind = kind;
    endResetModel();
}

int RollCandidateModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_candidates.size());
}

int RollCandidateModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RollCandidateModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const RollCandidate &c = m_candidates[size_t(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case Serie: return c.title(m_kind);
        case Expiratie: return c.expiry.toString(QStringLiteral("dd-MM-yyyy"));
        case Uitoefenkoers: return FigureText(c.strike, kMoneyDecimals);
        case Koers: return FigureText(c.price, kMoneyDecimals);
        case NettoCredit: return FigureText(c.netCredit, kMoneyDecimals);
        case Delta: return FigureText(c.delta, kDeltaDecimals);
        case CreditPerDag: return FigureText(c.creditPerExtraDay, kMoneyDecimals);
        }
        return {};
    case SortRole:
        if (column == Serie)
            return c.title(m_kind);
        if (const std::optional<double> value = sortValue(c, column))
            return *value;
        return {};
    case NegativeRole:
        return (column == NettoCredit || column == CreditPerDag) && sortValue(c, column).value_or(0) < 0;
    case Qt::TextAlignmentRole:
        return int((column == Serie ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant RollCandidateModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(kHeaders[section]);
}
