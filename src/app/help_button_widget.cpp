#include "app/help_button_widget.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kGlyphSize = 16;

QPixmap drawQuestionMark(const QColor &disc, const QColor &outline, const QColor &mark)
{
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(disc.isValid() ? QBrush(disc) : Qt::NoBrush);
    painter.drawEllipse(QRectF(0.5, 0.5, kGlyphSize - 1, kGlyphSize - 1));
    QFont font(QStringLiteral("Verdana"));
    font.setBold(true);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(mark);
    painter.drawText(QRect(0, 0, kGlyphSize, kGlyphSize), Qt::AlignCenter, QStringLiteral("?"));
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
