#include "app/position_list_widget.h"

#include <QMouseEvent>

#include "app/position_list_model.h"

PositionListWidget::PositionListWidget(QWidget *parent)
    : QListView(parent), m_lines(new PositionListModel(this))
{
    setModel(m_lines);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The lines change only through the detail panel, the add dialog and the downloads, never in
    // place by a double click or F2.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every line is one line of text in the list's font, so the first line's height holds for
    // all and the text of each need not be measured. Batched, so that the window shows at once
    // also with many thousands, and the rest is laid out while idle.
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    // Re-raised by the list itself, so that blocking the list's signals silences it.
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { emit currentRowChanged(current.row()); });
}

void PositionListWidget::mousePressEvent(QMouseEvent *event)
{
    const int rowBefore = currentRow();
    QListView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && rowBefore >= 0
        && indexAt(event->position().toPoint()).row() == rowBefore)
        emit currentRowPressed();
}

int PositionListWidget::count() const
{
    return m_lines->rowCount();
}

int PositionListWidget::currentRow() const
{
    return currentIndex().row();
}

void PositionListWidget::setCurrentRow(int row)
{
    selectionModel()->setCurrentIndex(m_lines->index(row), QItemSelectionModel::ClearAndSelect);
}

QString PositionListWidget::line(int row) const
{
    return m_lines->line(row);
}

QStringList PositionListWidget::lines() const
{
    return m_lines->lines();
}

int PositionListWidget::indexOf(const QString &text) const
{
    for (int row = 0; row < count(); ++row) {
        if (line(row) == text)
            return row;
    }
    return -1;
}

void PositionListWidget::setLine(int row, const QString &text)
{
    m_lines->setLine(row, text);
}

void PositionListWidget::appendLine(const QString &text)
{
    m_lines->appendLine(text);
}

void PositionListWidget::removeLine(int row)
{
    m_lines->removeLine(row);
}

void PositionListWidget::setLines(const positions_file::FileLines &lines)
{
    m_lines->setLines(lines);
}
