#include "support/message_box_catcher.h"

#include <QApplication>
#include <QPushButton>

MessageBoxCatcher::MessageBoxCatcher()
{
    // Looked for on a short timer: a box runs its own event loop, in which the timer keeps firing.
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            m_boxes.append({box->icon(), box->text(), box->textFormat()});
            box->done(box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::Ok);
        }
    });
    m_timer.start(10);
}

QStringList MessageBoxCatcher::errors() const
{
    QStringList texts;
    for (const Box &box : m_boxes) {
        if (box.icon == QMessageBox::Critical)
            texts << box.text;
    }
    return texts;
}

QStringList MessageBoxCatcher::others() const
{
    QStringList texts;
    for (const Box &box : m_boxes) {
        if (box.icon != QMessageBox::Critical)
            texts << box.text;
    }
    return texts;
}
