#pragma once
// The small picture button at the right of the main window's top bar: a red question mark on a
// yellow disc, drawn by the program, with a grey outline of it when the button is disabled.

#include <QIcon>
#include <QToolButton>

class HelpButtonWidget : public QToolButton
{
    Q_OBJECT
public:
    explicit HelpButtonWidget(QWidget *parent = nullptr);

    static QIcon questionMarkIcon();
};
