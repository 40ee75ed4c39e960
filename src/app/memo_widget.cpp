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
}

void MemoWidget::setCentred(bool centred)
{
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(centred ? Qt::AlignHCenter : Qt::AlignLeft);
    document()->setDefaultTextOption(option);
}

int MemoWidget::shownLineCount() const
{
    if (m_lines.isEmpty())
        return 0;
    // The same room the editor gives its text: the viewport less the document's margins.
    int viewportWidth = contentsRect().width();
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        viewportWidth -= verticalScrollBar()->sizeHint().width();
    const qreal available = viewportWidth - 2 * document()->documentMargin();
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
