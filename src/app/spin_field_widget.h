#pragma once
// A number field with up and down buttons that step by 1 without bounds. Its value is its text
// read as a whole number; any other text (an empty field included) counts as 0. Setting the
// value from the program raises textChanged only when the text really changes.

#include <QLineEdit>
#include <QWidget>

class QToolButton;

class SpinFieldWidget : public QWidget
{
    Q_OBJECT
public:
    explicit SpinFieldWidget(QWidget *parent = nullptr);

    int value() const;
    void setValue(int value);
    QString text() const { return m_edit->text(); }
    void setText(const QString &text) { m_edit->setText(text); }
    QLineEdit *lineEdit() const { return m_edit; }

signals:
    void textChanged(const QString &text);

private:
    QLineEdit *m_edit;
    QToolButton *m_up;
    QToolButton *m_down;
};
