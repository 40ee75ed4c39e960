#pragma once
// The lines that the main window's list shows, one row per position line. Loaded lines stay in
// the bytes of the file they came from until a row is changed, so that a list of many thousands
// of positions is made without a text of its own for every line (the view asks only for the
// rows it shows); a changed or added row holds its own text.

#include <QAbstractListModel>
#include <QStringList>

#include "positions/file_lines.h"

class PositionListModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    // The list asks for the index of every row as it lays itself out: answered without the
    // general check, which asks for the model's size through two virtual calls each time.
    QModelIndex index(int row, int column = 0, const QModelIndex &parent = {}) const override;
    // The line as display and as edit text; nothing for any other role.
    QVariant data(const QModelIndex &index, int role) const override;

    // The line of a row; empty for a row that does not exist.
    QString line(int row) const;
    QStringList lines() const;
    // Replaces the line of a row that exists. The same text again is no change.
    void setLine(int row, const QString &text);
    void appendLine(const QString &text);
    void removeLine(int row);
    void setLines(const positions_file::FileLines &lines);

private:
    qsizetype count() const;
    // Gives every row an entry of its own, before the first change.
    void makeRows();

    // A row's own text, or while it is unchanged the number of its line among the loaded ones.
    struct Row {
        QString text;
        qsizetype loaded = -1;
    };

    positions_file::FileLines m_loaded;
    // Empty while the rows are the loaded lines, in their order, none changed: a list just
    // loaded needs no entry per line (at start, ten thousand lines made 320 KB to write).
    QList<Row> m_rows;
};
