#include "app/message_form.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/dialog_geometry.h"

TMessageForm *MessageForm = nullptr;

namespace {

constexpr int kDesignWidth = 699;
constexpr int kDesignHeight = 118;

int screenHeightAround(const QRect &rect)
{
    QScreen *screen = QGuiApplication::screenAt(rect.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

} // namespace

TMessageForm::TMessageForm(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    MessageForm = this;
    setFont(QFont(QStringLiteral("Verdana"), 10));
    resize(kDesignWidth, kDesignHeight);

    MessagePanel = new QFrame(this);
    MessagePanel->setFrameShape(QFrame::Panel);
    MessagePanel->setFrameShadow(QFrame::Sunken);
    MessagePanel->setLineWidth(2);
    MessagePanel->setGeometry(rect());

    MessageMemo = new MemoWidget(MessagePanel);
    MessageMemo->setCentred(true);
    MessageMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MessageMemo->setFocusPolicy(Qt::NoFocus);
    MessageMemo->setGeometry(20, 25, kDesignWidth - 40, kDesignHeight - 50);

    Timer = new SteadyTimer(1000, false, this);
    connect(Timer, &SteadyTimer::timeout, this, &TMessageForm::TimerTimer);
}

TMessageForm::~TMessageForm()
{
    if (MessageForm == this)
        MessageForm = nullptr;
}

void TMessageForm::Execute(int aTop, int aLeft, int aHeight, int aWidth,
                           const QString &MessageStr1, const QString &MessageStr2, quint16 mSecs)
{
    MessageMemo->clearLines();
    if (!MessageStr1.isEmpty())
        MessageMemo->addLine(MessageStr1);
    if (!MessageStr2.isEmpty())
        MessageMemo->addLine(MessageStr2);

    const ScreenRect around {aTop, aLeft, aHeight, aWidth};
    const MessageGeometry g = messageGeometry(
        MessageMemo->shownLineCount(), MessageMemo->font().pointSize(),
        screenHeightAround(QRect(aLeft, aTop, aWidth, aHeight)), MessagePanel->width(), around);

    setGeometry(g.windowLeft, g.windowTop, g.windowWidth, g.windowHeight);
    MessagePanel->setGeometry(0, 0, g.windowWidth, g.windowHeight);
    MessageMemo->setGeometry(g.memoLeft, g.memoTop, g.memoWidth, g.memoHeight);
    Timer->setInterval(mSecs);

    hide();
    show();
    raise();
}

void TMessageForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Switching on a timer that already runs keeps its time, so a second message while this one
    // is still up does not lengthen the showing.
    Timer->setEnabled(true);
}

void TMessageForm::TimerTimer()
{
    Timer->setEnabled(false);
    close();
}
