#include "app/help_button_widget.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kGlyphSize = 16;

// The mark is drawn in strokes rather than as a character, so that no bold font is looked up
// and loaded at start just for this one character.
QPixmap drawQuestionMark(const QColor &disc, const QColor &outline, const QColor &mark)
{
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(disc.isValid() ? QBrush(disc) : Qt::NoBrush);
    painter.drawEllipse(QRectF(0.5, 0.5, kGlyphSize - 1, kGlyphSize - 1));

    // The hook: from the upper left round over the top and down to the stem in the middle.
    const QRectF hookBounds(5.25, 3.5, 5.5, 5);
    QPainterPath hook;
    hook.arcMoveTo(hookBounds, 165);
    hook.arcTo(hookBounds, 165, -255);
    hook.lineTo(kGlyphSize / 2.0, 10);
    painter.setPen(QPen(mark, 2.1, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hook);
    // The dot.
    painter.setPen(Qt::NoPen);
    painter.setBrush(mark);
    painter.drawEllipse(QPointF(kGlyphSize / 2.0, 12.4), 1.2, 1.2);
    return pixmap;
}

} // namespace

HelpButtonWidget::HelpButtonWidget(QWidget *parent)
    : QToolButton(parent)
{
    setIcon(questionMarkIcon());
    setIconSize(QSize(kGlyphSize, kGlyphSize));
    setAutoRaise(false);
}

QIcon HelpButtonWidget::questionMarkIcon()
{
    QIcon icon;
    icon.addPixmap(drawQuestionMark(QColor(255, 255, 0), QColor(160, 120, 0), QColor(255, 0, 0)),
                   QIcon::Normal);
    icon.addPixmap(drawQuestionMark(QColor(), QColor(128, 128, 128), QColor(128, 128, 128)),
                   QIcon::Disabled);
    return icon;
}
