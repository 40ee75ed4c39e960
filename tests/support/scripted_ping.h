#pragma once
// A ping utility for tests: a script in a temporary folder that prints the given lines, with
// PELGRANDIX_PING pointing at it for as long as the object lives.

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

#include "support/scoped_env.h"

class ScriptedPing
{
public:
    explicit ScriptedPing(const QStringList &lines);
    // The usual answer of a host that replies.
    static QStringList reply();
    static QStringList timeOut();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScopedEnv> m_env;
};
