#pragma once
// The ping utility replaced by a script in a folder of its own (PELGRANDIX_PING points at it for
// the life of this object), printing the layout the probe reads: an empty line, a "Pinging"
// line and a reply, or a time-out as the third line.

#include <QString>
#include <QTemporaryDir>

#include "support/scoped_env.h"

class ScriptedPing
{
public:
    enum Answer { Reply, TimeOut };
    explicit ScriptedPing(Answer answer = Reply);

    // Changes what the next probes print.
    void answer(Answer answer);
    // How often the script ran.
    int runs() const;

private:
    QTemporaryDir m_dir;
    ScopedEnv m_ping;
    ScopedEnv m_noComSpec;
};
