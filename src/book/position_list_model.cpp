#include "book/position_list_model.h"

int PositionListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant PositionListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return line(index.row());
}

QString PositionListModel::line(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const Row &entry = m_rows.at(row);
    return entry.loaded >= 0 ? m_loaded.at(entry.loaded) : entry.text;
}

QStringList PositionListModel::lines() const
{
    QStringList texts;
    texts.reserve(m_rows.size());
    for (int row = 0; row < m_rows.size(); ++row)
        texts << line(row);
    return texts;
}

void PositionListModel::setLine(int row, const QString &text)
{
    if (row < 0 || row >= m_rows.size() || line(row) == text)
        return;
    m_rows[row] = Row{text};
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void PositionListModel::appendLine(const QString &text)
{
    const int row = int(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.append(Row{text});
    endInsertRows();
}

void PositionListModel::removeLine(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows({}, row, row);
    m_rows.remove(row);
    endRemoveRows();
}

void PositionListModel::setLines(const positions_file::FileLines &lines)
{
    beginResetModel();
    m_loaded = lines;
    m_rows.clear();
    m_rows.resize(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        m_rows[i].loaded = i;
    endResetModel();
}
