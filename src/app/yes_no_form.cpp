#include "app/yes_no_form.h"

#include <QKeyEvent>

TYesNoDlg *YesNoDlg = nullptr;

namespace {

constexpr int kDesignWidth = 328;
constexpr int kDesignHeight = 142;
constexpr int kButtonHeight = 27;
constexpr int kDesignButtonTop = 100;

QPushButton *makeButton(QWidget *parent, const QString &text, int left, int width)
{
    auto *button = new QPushButton(text, parent);
    button->setAutoDefault(true);
    button->setGeometry(left, kDesignButtonTop, width, kButtonHeight);
    return button;
}

} // namespace

TYesNoDlg::TYesNoDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    YesNoDlg = this;
    setFont(QFont(QStringLiteral("Verdana"), 9));
    setFixedSize(kDesignWidth, kDesignHeight);

    MessagePanel = new QFrame(this);
    MessagePanel->setFrameShape(QFrame::Panel);
    MessagePanel->setFrameShadow(QFrame::Sunken);
    MessagePanel->setGeometry(16, 12, kDesignWidth - 32, 70);

    MessageMemo = new MemoWidget(MessagePanel);
    MessageMemo->setCentred(true);
    MessageMemo->setFocusPolicy(Qt::NoFocus);
    MessageMemo->setGeometry(8, 7, MessagePanel->width() - 16, 56);

    JaBtn = makeButton(this, QStringLiteral("Ja"), 9, 65);
    CancelBtn = makeButton(this, QStringLiteral("Annuleren"), 86, 106);
    NeeBtn = makeButton(this, QStringLiteral("Nee"), 227, 65);
    JaBtn->setDefault(true);

    connect(JaBtn, &QPushButton::clicked, this, &TYesNoDlg::JaBtnClick);
    connect(NeeBtn, &QPushButton::clicked, this, &TYesNoDlg::NeeBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TYesNoDlg::CancelBtnClick);
}

TYesNoDlg::~TYesNoDlg()
{
    if (YesNoDlg == this)
        YesNoDlg = nullptr;
}

bool TYesNoDlg::Execute(int aTop, int aLeft, int aHeight, int aWidth, const QString &Capt,
                        const QString &Mess, const QString &JaStr, const QString &NeeStr,
                        const QString &CancelStr, bool YesB, bool &CancelB)
{
    m_around = {aTop, aLeft, aHeight, aWidth};
    setWindowTitle(Capt);
    JaBtn->setText(JaStr);
    NeeBtn->setText(NeeStr);
    CancelBtn->setText(CancelStr);
    CancelBtn->setVisible(CancelB);

    const YesNoButtonWidths widths {JaBtn->width(), NeeBtn->width(), CancelBtn->width()};
    const YesNoWidthLayout l = yesNoWidthLayout(fontMetrics().horizontalAdvance(Mess),
                                                NeeBtn->x() + NeeBtn->width(), widths);
    MessagePanel->setGeometry(l.panelLeft, MessagePanel->y(), l.panelWidth, MessagePanel->height());
    MessageMemo->setGeometry(l.memoLeft, MessageMemo->y(), l.memoWidth, MessageMemo->height());
    setFixedSize(l.clientWidth, height());
    JaBtn->move(l.firstLeft, JaBtn->y());
    NeeBtn->move(l.secondLeft, NeeBtn->y());
    CancelBtn->move(l.thirdLeft, CancelBtn->y());

    MessageMemo->setLines(Mess.split(QLatin1Char('\r')));
    JaB = YesB;

    hide();
    exec();

    CancelB = NegeerB;
    return JaB;
}

void TYesNoDlg::JaBtnClick()
{
    JaB = true;
    NegeerB = false;
    accept();
}

void TYesNoDlg::NeeBtnClick()
{
    JaB = false;
    NegeerB = false;
    reject();
}

void TYesNoDlg::CancelBtnClick()
{
    JaB = false;
    NegeerB = true;
    reject();
}

void TYesNoDlg::keyPressEvent(QKeyEvent *event)
{
    // Escape answers as the second button does, also when the third one is shown.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        NeeBtn->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TYesNoDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormPaint();
    focusAnswer();
}

void TYesNoDlg::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // Once the window manager has framed the dialog its outer height is known; placing it
    // again then centres it exactly. Nothing changes on later paints, so nothing repeats.
    FormPaint();
}

void TYesNoDlg::FormPaint()
{
    if (m_inLayout)
        return;
    m_inLayout = true;
    const YesNoHeightLayout l = yesNoHeightLayout(MessageMemo->shownLineCount(),
                                                  MessageMemo->font().pointSize(), kButtonHeight);
    const QRect panel(MessagePanel->x(), l.panelTop, MessagePanel->width(), l.panelHeight);
    if (MessagePanel->geometry() != panel)
        MessagePanel->setGeometry(panel);
    const QRect memo(MessageMemo->x(), l.memoTop, MessageMemo->width(), l.memoHeight);
    if (MessageMemo->geometry() != memo)
        MessageMemo->setGeometry(memo);
    for (QPushButton *button : {JaBtn, CancelBtn, NeeBtn}) {
        if (button->y() != l.buttonTop)
            button->move(button->x(), l.buttonTop);
    }
    if (height() != l.clientHeight)
        setFixedSize(width(), l.clientHeight);
    // The outer height includes the title bar once the window manager has added it.
    const QRect frame = frameGeometry();
    const int frameExtra = frame.height() - height();
    const WindowPos pos = CentreOn(m_around, l.clientHeight + frameExtra, frame.width());
    if (frame.topLeft() != QPoint(pos.left, pos.top))
        move(pos.left, pos.top);
    m_inLayout = false;
}

void TYesNoDlg::focusAnswer()
{
    // The focused button is the one Enter presses.
    (JaB ? JaBtn : NeeBtn)->setFocus(Qt::OtherFocusReason);
}
