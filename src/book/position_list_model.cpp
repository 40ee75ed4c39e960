#include "book/position_list_model.h"

int PositionListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(count());
}

QModelIndex PositionListModel::index(int row, int column, const QModelIndex &parent) const
{
    return !parent.isValid() && column == 0 && row >= 0 && row < count() ? createIndex(row, 0) : QModelIndex();
}

qsizetype PositionListModel::count() const
{
    return m_rows.isEmpty() ? m_loaded.size() : m_rows.size();
}

void PositionListModel::makeRows()
{
    if (!m_rows.isEmpty())
        return;
    m_rows.resize(m_loaded.size());
    for (qsizetype i = 0; i < m_loaded.size(); ++i)
        m_rows[i].loaded = i;
}

QVariant PositionListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return line(index.row());
}

QString PositionListModel::line(int row) const
{
    if (row < 0 || row >= count())
        return {};
    if (m_rows.isEmpty())
        return m_loaded.at(row);
    const Row &entry = m_rows.at(row);
    return entry.loaded >= 0 ? m_loaded.at(entry.loaded) : entry.text;
}

QStringList PositionListModel::lines() const
{
    QStringList texts;
    texts.reserve(count());
    for (int row = 0; row < count(); ++row)
        texts << line(row);
    return texts;
}

void PositionListModel::setLine(int row, const QString &text)
{
    if (row < 0 || row >= count() || line(row) == text)
        return;
    makeRows();
    m_rows[row] = Row{text};
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void PositionListModel::appendLine(const QString &text)
{
    const int row = int(count());
    beginInsertRows({}, row, row);
    makeRows();
    m_rows.append(Row{text});
    endInsertRows();
}

void PositionListModel::removeLine(int row)
{
    if (row < 0 || row >= count())
        return;
    beginRemoveRows({}, row, row);
    makeRows();
    m_rows.remove(row);
    // No rows left: nor any loaded line that an empty list of rows would stand for.
    if (m_rows.isEmpty())
        m_loaded = {};
    endRemoveRows();
}

void PositionListModel::setLines(const positions_file::FileLines &lines)
{
    beginResetModel();
    m_loaded = lines;
    m_rows.clear();
    endResetModel();
}
