#include "portfolio/bar_chart_widget.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

void BarChartWidget::setBars(const QList<Bar> &bars)
{
    m_bars = bars;
    update();
}

void BarChartWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (m_bars.isEmpty())
        return;
    const int labelHeight = fontMetrics().height() + 4;
    const QRect area = rect().adjusted(8, 8, -8, -8 - labelHeight);
    double highest = 0, lowest = 0;
    for (const Bar &bar : m_bars) {
        highest = std::max(highest, bar.value);
        lowest = std::min(lowest, bar.value);
    }
    const double span = highest - lowest > 0 ? highest - lowest : 1;
    const int zeroY = area.top() + int(std::lround(area.height() * highest / span));
    const double slot = double(area.width()) / m_bars.size();
    for (int i = 0; i < m_bars.size(); ++i) {
        const Bar &bar = m_bars.at(i);
        const int left = area.left() + int(slot * i + slot * 0.15);
        const int width = std::max(1, int(slot * 0.7));
        const int height = int(std::lround(area.height() * std::fabs(bar.value) / span));
        const QRect shape = bar.value >= 0 ? QRect(left, zeroY - height, width, height) : QRect(left, zeroY, width, height);
        painter.fillRect(shape, bar.value >= 0 ? QColor(0, 128, 0) : QColor(Qt::red));
        painter.setPen(palette().text().color());
        painter.drawText(QRect(int(area.left() + slot * i), area.bottom() + 4, int(slot), labelHeight),
                         Qt::AlignHCenter | Qt::AlignTop, bar.label);
    }
    painter.setPen(palette().text().color());
    painter.drawLine(area.left(), zeroY, area.right(), zeroY);
}
