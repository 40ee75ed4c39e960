#include "entry/radio_group_widget.h"

#include <QHBoxLayout>

RadioGroupWidget::RadioGroupWidget(const QString &caption, const QStringList &items,
                                   QWidget *parent)
    : QGroupBox(caption, parent)
    , m_group(new QButtonGroup(this))
{
    auto *row = new QHBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items.at(i), this);
        m_group->addButton(button, i);
        m_buttons << button;
        row->addWidget(button, 1);
    }
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit itemIndexChanged(id);
    });
}

int RadioGroupWidget::itemIndex() const
{
    return m_group->checkedId();
}

void RadioGroupWidget::setItemIndex(int index)
{
    if (index >= 0 && index < m_buttons.size()) {
        m_buttons.at(index)->setChecked(true);
    } else if (QAbstractButton *checked = m_group->checkedButton()) {
        // An exclusive group keeps one button checked; lift that to clear the choice.
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
}
