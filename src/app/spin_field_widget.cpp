#include "app/spin_field_widget.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include "support/text_routines.h"

SpinFieldWidget::SpinFieldWidget(QWidget *parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_up(new QToolButton(this)),
      m_down(new QToolButton(this))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton *button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFixedWidth(16);
        button->setFocusPolicy(Qt::NoFocus);
    }
    auto *buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->addWidget(m_up);
    buttons->addWidget(m_down);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_edit);
    row->addLayout(buttons);

    connect(m_edit, &QLineEdit::textChanged, this, &SpinFieldWidget::textChanged);
    connect(m_up, &QToolButton::clicked, this, [this] { setValue(value() + 1); });
    connect(m_down, &QToolButton::clicked, this, [this] { setValue(value() - 1); });
}

int SpinFieldWidget::value() const
{
    int value = 0;
    return ParseDecimalInt(m_edit->text(), &value) ? value : 0;
}

void SpinFieldWidget::setValue(int value)
{
    m_edit->setText(QString::number(value));
}
