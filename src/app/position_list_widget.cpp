#include "app/position_list_widget.h"

#include <QAbstractListModel>
#include <QMouseEvent>

PositionListWidget::PositionListWidget(QAbstractListModel *lines, QWidget *parent)
    : QListView(parent), m_lines(lines)
{
    setModel(m_lines);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The lines change only through the detail panel, the add dialog and the downloads, never in
    // place by a double click or F2.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every line is one line of text in the list's font, so the first line's height holds for
    // all and the text of each need not be measured. Laid out in one pass: a list laid out in
    // batches while idle draws no row at all until its last batch is done (only then does it
    // know where its rows end), so the window would first show with an empty list. With one
    // height for all, the pass over ten thousand lines takes about a millisecond.
    setUniformItemSizes(true);
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
    return m_lines->index(row).data().toString();
}
