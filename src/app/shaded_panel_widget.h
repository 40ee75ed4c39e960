#pragma once
// A panel with a one-pixel shaded edge, raised or sunken, as the main window's bars and its
// detail panel have. It draws that edge itself: four filled lines cost a fraction of the style's
// general shaded-panel drawing, which at start came to a tenth of the main window's first paint.

#include <QFrame>

class ShadedPanelWidget : public QFrame
{
public:
    ShadedPanelWidget(QFrame::Shadow shadow, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
