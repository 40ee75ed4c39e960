#pragma once
// The roll candidates as a table: one row per candidate, the display text and the value a column
// sorts by apart, negative credits marked for a view to colour.

#include <QAbstractTableModel>

#include <vector>

#include "portfolio/roll_candidates.h"

class RollCandidateModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Serie, Expiratie, Uitoefenkoers, Koers, NettoCredit, Delta, CreditPerDag, ColumnCount };
    enum Role { SortRole = Qt::UserRole, NegativeRole };

    using QAbstractTableModel::QAbstractTableModel;

    void setCandidates(std::vector<RollCandidate> candidates, const QString &kind);
    const std::vector<RollCandidate> &candidates() const { return m_candidates; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<RollCandidate> m_candidates;
    QString m_kind;
};
