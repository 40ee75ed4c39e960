#pragma once
// Answers the confirmation dialog's questions in turn as each shows ("Nee" once the answers run
// out) and keeps them as "caption: question".

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include "app/yes_no_form.h"

class DialogAnswers : public QObject
{
public:
    explicit DialogAnswers(QList<bool> answers) : m_answers(std::move(answers))
    {
        m_poll.callOnTimeout(this, &DialogAnswers::answer);
        m_poll.start(5);
    }
    QStringList questions;

private:
    void answer()
    {
        if (!YesNoDlg || !YesNoDlg->isVisible())
            return;
        questions << YesNoDlg->windowTitle() + ": " + YesNoDlg->MessageMemo->lines().join('\r');
        const bool yes = !m_answers.isEmpty() && m_answers.takeFirst();
        (yes ? YesNoDlg->JaBtn : YesNoDlg->NeeBtn)->click();
    }

    QList<bool> m_answers;
    QTimer m_poll;
};
