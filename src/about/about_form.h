#pragma once
// The information window: the program's name, version, notice and description, with buttons to
// mail the author, open the maker's download page, and switch to a view of the author's
// contact details. Its texts follow the language code at creation.

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "app/memo_widget.h"
#include "support/program_identity.h"

class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    // Shows the program's name, version and notice; its caption starts with the main window's.
    explicit TAboutForm(const ProgramIdentity &identity, QWidget *parent = nullptr);
    ~TAboutForm() override;

    // Main view.
    QFrame *MainPanel;
    QLabel *NameLabel;
    QLabel *VersionLabel;
    QFrame *Bevel3;
    QLabel *CopyrightLabel;
    QToolButton *AuthorBtn;
    QFrame *Bevel2;
    QLabel *Label1;
    QLabel *Label2;
    QPushButton *MailBtn;
    QPushButton *OKBtn;
    QPushButton *HomeBtn;
    MemoWidget *MailMemo;

    // Author view, uncovered when the main view is hidden.
    QFrame *Panel1;
    MemoWidget *AuthorMemo;
    QPushButton *OKBtn1;

    void AuthorBtnClick();
    void OKBtn1Click();
    void MailBtnClick();
    void HomeBtnClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    void buildControls();
    void FormCreate();
    void FormPaint();
    // Opens the address with the desktop; when nothing takes it, shows failureText for a while
    // over this window.
    void openAddress(const QString &address, const QString &failureText);
    void showMainView();

    ProgramIdentity m_identity;
    QString m_mainCaption;
    QString m_authorCaption;
    bool m_paintedSinceShow = false;
};

extern TAboutForm *AboutForm;
