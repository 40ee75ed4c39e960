#pragma once
// A plain bar chart of a few labelled amounts: bars up for a gain, down (and red) for a loss,
// from a line at nil, each labelled below. Drawn by the widget itself: a dozen bars need no
// chart library.

#include <QList>
#include <QString>
#include <QWidget>

class BarChartWidget : public QWidget
{
    Q_OBJECT
public:
    struct Bar {
        QString label;
        double value = 0;
    };

    using QWidget::QWidget;
    void setBars(const QList<Bar> &bars);
    const QList<Bar> &bars() const { return m_bars; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<Bar> m_bars;
};
