#pragma once
// Counts the events of one type that reach an object, for instance the paints of a window, so
// that a test can wait until one has happened.

#include <QEvent>
#include <QObject>

class EventCounter : public QObject
{
public:
    EventCounter(QObject *watched, QEvent::Type type) : m_type(type) { watched->installEventFilter(this); }
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        m_count += event->type() == m_type;
        return false;
    }

private:
    QEvent::Type m_type;
    int m_count = 0;
};
