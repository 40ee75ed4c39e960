#include "app/position_list_widget.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextLayout>

namespace {

// Draws the rows as the style draws the items of a list, but lays the text of a plain row (not
// selected, without focus, not cut off) out once: the style lays an item's text out three times
// (to place it, to see whether it must be cut off, and to draw it) and works out the item's parts
// three times over, which made the list's rows most of the window's first paint. Every other row
// is left to the style.
class RowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        constexpr auto kStyleOnly = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;
        if ((item.state & (QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_Editing))
            || (item.features & kStyleOnly) || item.backgroundBrush.style() != Qt::NoBrush || item.text.isEmpty()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QWidget *widget = option.widget;
        const QStyle *style = widget ? widget->style() : QApplication::style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect area = textRect(item, style).adjusted(margin, 0, -margin, 0);

        QTextOption textOption;
        textOption.setWrapMode(QTextOption::ManualWrap);
        textOption.setTextDirection(item.direction);
        textOption.setAlignment(QStyle::visualAlignment(item.direction, item.displayAlignment));
        QTextLayout layout(item.text, item.font);
        layout.setTextOption(textOption);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(area.width());
        layout.endLayout();
        if (line.naturalTextWidth() > area.width() || line.textLength() < item.text.size()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QPalette::ColorGroup group = (item.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        if (group == QPalette::Normal && !(item.state & QStyle::State_Active))
            group = QPalette::Inactive;
        const QPen pen = painter->pen();
        painter->setPen(item.palette.color(group, QPalette::Text));
        // Centred on whole pixels, as the style places it.
        const int lineHeight = int(line.height());
        layout.draw(painter, QPointF(area.left(), area.top() + (area.height() - lineHeight) / 2));
        painter->setPen(pen);
    }

private:
    // Where the style puts an item's text, worked out once for the rows' size and direction,
    // which every row shares.
    QRect textRect(const QStyleOptionViewItem &item, const QStyle *style) const
    {
        if (item.rect.size() != m_measuredSize || item.direction != m_measuredDirection) {
            m_measuredSize = item.rect.size();
            m_measuredDirection = item.direction;
            const QRect rect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
            m_textRect = rect.translated(-item.rect.topLeft());
        }
        return m_textRect.translated(item.rect.topLeft());
    }

    mutable QSize m_measuredSize;
    mutable Qt::LayoutDirection m_measuredDirection = Qt::LeftToRight;
    mutable QRect m_textRect;
};

} // namespace

PositionListWidget::PositionListWidget(QAbstractListModel *lines, QWidget *parent)
    : QListView(parent), m_lines(lines)
{
    setModel(m_lines);
    setItemDelegate(new RowDelegate(this));
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
