#pragma once
// The timed message window: one or two lines of text in a borderless window, centred on the
// caller's rectangle, that closes itself after a given time. It does not block its caller.

#include <QFrame>
#include <QWidget>

#include "app/memo_widget.h"
#include "platform/steady_timer.h"

class TMessageForm : public QWidget
{
    Q_OBJECT
public:
    explicit TMessageForm(QWidget *parent = nullptr);
    ~TMessageForm() override;

    // Shows the two texts (each as a line when not empty) centred on the rectangle aTop, aLeft,
    // aHeight, aWidth and returns at once; the window closes itself after mSecs. A call while
    // the window is still up replaces text and place but leaves the running time alone.
    void Execute(int aTop, int aLeft, int aHeight, int aWidth, const QString &MessageStr1,
                 const QString &MessageStr2, quint16 mSecs);

    QFrame *MessagePanel;
    MemoWidget *MessageMemo;
    SteadyTimer *Timer;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void TimerTimer();
};

extern TMessageForm *MessageForm;
