#include "app/plain_text_box_widget.h"

#include <QMessageBox>

#include "support/text_routines.h"

void ShowCriticalText(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, title, ShownText(text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
