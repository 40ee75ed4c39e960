#pragma once
// A captioned group of radio buttons laid out in one row, of which one is chosen: the chosen
// entry is read and set by its index.

#include <QButtonGroup>
#include <QGroupBox>
#include <QList>
#include <QRadioButton>
#include <QStringList>

class RadioGroupWidget : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroupWidget(const QString &caption, const QStringList &items, QWidget *parent = nullptr);

    // Index of the chosen entry, -1 when none is.
    int itemIndex() const;
    // Chooses an entry; a change raises itemIndexChanged, as a click does.
    void setItemIndex(int index);
    QRadioButton *button(int index) const { return m_buttons.at(index); }
    int count() const { return int(m_buttons.size()); }

signals:
    void itemIndexChanged(int index);

private:
    QButtonGroup *m_group;
    QList<QRadioButton *> m_buttons;
};
