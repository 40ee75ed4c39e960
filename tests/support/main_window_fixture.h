#pragma once
// A main window on a fresh temporary home folder, optionally with a positions file, for the
// window tests. The program-wide values that the window sets as it starts are put back after.

#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

#include "support/loopback_listener.h"
#include "support/program_state.h"
#include "support/scoped_env.h"
#include "support/temp_home.h"

class PositionsBook;
class TMainForm;

// The three sites point at a local port that refuses connections, so that the start-up download
// of a shown window fails at once instead of reaching a quote site that happens to run here.
// A site that a test has already set up (its variable is set) is kept.
class MainWindowFixture
{
public:
    explicit MainWindowFixture(const QByteArray &positionsFile = QByteArray(),
                               const std::function<void(const TempHome &)> &beforeTheWindow = {});
    ~MainWindowFixture();

    TMainForm *form() const { return m_form.get(); }
    PositionsBook &book() const { return *m_book; }
    const TempHome &home() const { return m_home; }
    QStringList entries() const;
    // A file of the data folder: null when it is missing.
    QByteArray fileBytes(const char *name) const;

private:
    ProgramState m_state;
    LoopbackListener m_closedSite{LoopbackListener::Refusing};
    std::optional<ScopedEnv> m_quoteHost, m_indexHost, m_makerHost;
    TempHome m_home;
    std::unique_ptr<PositionsBook> m_book;
    std::unique_ptr<TMainForm> m_form;
};
