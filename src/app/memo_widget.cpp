#include "app/memo_widget.h"

#include <QScrollBar>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

MemoWidget::MemoWidget(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setBackgroundRole(QPalette::Button);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Button));
    setPalette(pal);
}

void MemoWidget::clearLines()
{
    m_lines.clear();
    refresh();
}

void MemoWidget::addLine(const QString &line)
{
    m_lines << line;
    refresh();
}

void MemoWidget::setLines(const QStringList &lines)
{
    m_lines = lines;
    refresh();
}

void MemoWidget::refresh()
{
    setPlainText(m_lines.join(QLatin1Char('\n')));
    updateMargins();
}

void MemoWidget::setCentred(bool centred)
{
    m_centred = centred;
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(centred ? Qt::AlignHCenter : Qt::AlignLeft);
    document()->setDefaultTextOption(option);
    updateMargins();
}

void MemoWidget::resizeEvent(QResizeEvent *event)
{
    updateMargins();
    QPlainTextEdit::resizeEvent(event);
}

int MemoWidget::scrollBarRoom() const
{
    return verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn
               ? verticalScrollBar()->sizeHint().width()
               : 0;
}

void MemoWidget::updateMargins()
{
    if (!m_centred) {
        setViewportMargins(0, 0, 0, 0);
        return;
    }
    const int textHeight = shownLineCount() * fontMetrics().lineSpacing()
                           + 2 * int(document()->documentMargin());
    const int spare = contentsRect().height() - textHeight;
    setViewportMargins(scrollBarRoom(), spare > 0 ? spare / 2 : 0, 0, 0);
}

int MemoWidget::textWidth() const
{
    // The room the editor gives its text: the viewport less the document's margins.
    const int leftRoom = m_centred ? scrollBarRoom() : 0;
    return contentsRect().width() - leftRoom - scrollBarRoom()
           - 2 * int(document()->documentMargin());
}

int MemoWidget::shownLineCount() const
{
    if (m_lines.isEmpty())
        return 0;
    const qreal available = textWidth();
    const QTextOption option = document()->defaultTextOption();
    int count = 0;
    for (const QString &line : m_lines) {
        QTextLayout layout(line, font());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine textLine = layout.createLine(); textLine.isValid();
             textLine = layout.createLine()) {
            textLine.setLineWidth(available);
            ++count;
        }
        layout.endLayout();
    }
    return count;
}
