#pragma once
// The ping utility replaced by a script in a folder of its own: PELGRANDIX_PING points at it
// and COMSPEC is unset for the life of this object. By default it prints the layout the probe
// reads (an empty line, a "Pinging" line, then a reply or a time-out as the third line); a test
// can make it print any text or run any shell text instead. Every run is counted and its
// arguments noted.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "support/scoped_env.h"

class ScriptedPing
{
public:
    enum Answer { Reply, TimeOut };
    explicit ScriptedPing(Answer answer = Reply);

    // What the next runs do: answer as a ping does, print exactly this text, or run this shell
    // text (in the folder the probe runs in).
    void answer(Answer answer);
    void prints(const QByteArray &output);
    void runs(const QByteArray &shellText);

    QString path() const;
    // How often the script ran.
    int runCount() const;
    // The arguments of the last run, each in brackets: "[host][-n][1]...".
    QByteArray lastArguments() const;

private:
    QTemporaryDir m_dir;
    ScopedEnv m_ping;
    ScopedEnv m_noComSpec;
};
