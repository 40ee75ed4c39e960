#include "app/position_list_widget.h"

#include <QMouseEvent>
#include <QStringListModel>

PositionListWidget::PositionListWidget(QWidget *parent)
    : QListView(parent), m_lines(new QStringListModel(this))
{
    setModel(m_lines);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The model would let a double click or F2 edit a line in place; the lines change only
    // through the detail panel, the add dialog and the downloads.
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
    return m_lines->index(row).data().toString();
}

QStringList PositionListWidget::lines() const
{
    return m_lines->stringList();
}

void PositionListWidget::setLine(int row, const QString &text)
{
    const QModelIndex index = m_lines->index(row);
    if (index.isValid() && index.data().toString() != text)
        m_lines->setData(index, text);
}

void PositionListWidget::appendLine(const QString &text)
{
    const int row = count();
    m_lines->insertRows(row, 1);
    m_lines->setData(m_lines->index(row), text);
}

void PositionListWidget::removeLine(int row)
{
    m_lines->removeRows(row, 1);
}

void PositionListWidget::setLines(const QStringList &lines)
{
    m_lines->setStringList(lines);
}
