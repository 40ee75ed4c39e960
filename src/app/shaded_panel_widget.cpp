#include "app/shaded_panel_widget.h"

#include <QPainter>

ShadedPanelWidget::ShadedPanelWidget(QFrame::Shadow shadow, QWidget *parent) : QFrame(parent)
{
    // Kept as a frame's shape and line width, so that the contents keep their one-pixel margin.
    setFrameShape(QFrame::Panel);
    setFrameShadow(shadow);
}

void ShadedPanelWidget::paintEvent(QPaintEvent *)
{
    // Light above and on the left of a raised panel, dark below and on the right (the other way
    // round when sunken); the two far corners are the bottom's and the right's, drawn last.
    const bool sunken = frameShadow() == QFrame::Sunken;
    const QColor upperLeft = sunken ? palette().dark().color() : palette().light().color();
    const QColor lowerRight = sunken ? palette().light().color() : palette().dark().color();
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.fillRect(0, 0, w, 1, upperLeft);
    painter.fillRect(0, 0, 1, h, upperLeft);
    painter.fillRect(0, h - 1, w, 1, lowerRight);
    painter.fillRect(w - 1, 0, 1, h, lowerRight);
}
