#pragma once
// Answers every message box that opens while it lives (with its default button, as Enter does)
// and keeps what each one said, so that a test can check which boxes a user would have met.

#include <QMessageBox>
#include <QStringList>
#include <QTimer>

class MessageBoxCatcher
{
public:
    MessageBoxCatcher();

    struct Box {
        QMessageBox::Icon icon;
        QString text;
        Qt::TextFormat format;
    };
    const QList<Box> &boxes() const { return m_boxes; }
    // The texts of the critical boxes (the toolkit's error box), and of all the others.
    QStringList errors() const;
    QStringList others() const;

private:
    QList<Box> m_boxes;
    QTimer m_timer;
};
