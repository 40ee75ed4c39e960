#pragma once
// The confirmation dialog: a modal question with two or three buttons whose captions the caller
// supplies, sized to the question and centred on the caller's rectangle.

#include <QDialog>
#include <QFrame>
#include <QPushButton>

#include "app/dialog_geometry.h"
#include "app/memo_widget.h"

class TYesNoDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TYesNoDlg(QWidget *parent = nullptr);
    ~TYesNoDlg() override;

    // Asks Mess (a CR starts a new line) with the buttons JaStr, NeeStr and, when CancelB is
    // true on entry, CancelStr. YesB is the answer when the dialog is closed without a button
    // and puts the focus on the first button (true) or the second. Returns true for the first
    // button; CancelB tells on return whether the third one was pressed.
    bool Execute(int aTop, int aLeft, int aHeight, int aWidth, const QString &Capt,
                 const QString &Mess, const QString &JaStr, const QString &NeeStr,
                 const QString &CancelStr, bool YesB, bool &CancelB);

    QFrame *MessagePanel;
    MemoWidget *MessageMemo;
    QPushButton *JaBtn;
    QPushButton *CancelBtn;
    QPushButton *NeeBtn;

    bool JaB = false;
    bool NegeerB = false;

    void JaBtnClick();
    void NeeBtnClick();
    void CancelBtnClick();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Heights and place follow the lines the memo shows, known once it has its width.
    void FormPaint();
    void focusAnswer();

    ScreenRect m_around;
    bool m_inLayout = false;
};

extern TYesNoDlg *YesNoDlg;
