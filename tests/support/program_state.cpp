#include "support/program_state.h"

#include <QDir>
#include <QLocale>
#include <QTime>

#include <memory>
#include <optional>

#include "entry/settings_values.h"
#include "market/data_rec.h"
#include "market/internet.h"
#include "market/market_hosts.h"
#include "platform/termination_signals.h"
#include "support/scoped_env.h"
#include "support/system_info.h"
#include "update/update_state.h"

namespace {

constexpr const char *kVariables[] = {
    "HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "COMSPEC",
    "PELGRANDIX_QUOTE_HOST", "PELGRANDIX_INDEX_HOST", "PELGRANDIX_MAKER_HOST", "PELGRANDIX_PING",
    "PELGRANDIX_EXIT_AFTER_FIRST_PAINT", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR",
    "DPKG_ADMINDIR",
};

// Fails the running test when it left any value changed, and puts the values back.
class ProgramStateWatch : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo &) override { m_state = std::make_unique<ProgramState>(); }
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        const QStringList changed = m_state->changed();
        if (!changed.isEmpty())
            ADD_FAILURE() << "the test left changed: " << changed.join(QStringLiteral(", ")).toStdString()
                          << " (derive its fixture from ProgramStateTest)";
        m_state.reset();
    }

    std::unique_ptr<ProgramState> m_state;
};

} // namespace

template <typename T>
void ProgramState::note(const QString &name, std::function<T()> get, std::function<void(const T &)> set)
{
    const T was = get();
    m_saved.push_back({name, [get, was] { return !(get() == was); }, [set, was] { set(was); }});
}

template <typename T>
void ProgramState::note(const QString &name, T &variable)
{
    note<T>(name, [&variable] { return variable; }, [&variable](const T &value) { variable = value; });
}

ProgramState::ProgramState()
{
    note(QStringLiteral("DataDir"), DataDir);
    note(QStringLiteral("HomeDir"), HomeDir);
    note(QStringLiteral("Desktop"), Desktop);
    note(QStringLiteral("sLanguage"), sLanguage);
    note(QStringLiteral("WinNTB"), WinNTB);
    note(QStringLiteral("DownloadName"), DownloadName);
    note(QStringLiteral("InstallerSizeKB"), InstallerSizeKB);
    note(QStringLiteral("InstallerSha256"), InstallerSha256);
    note(QStringLiteral("DownloadedB"), DownloadedB);
    note(QStringLiteral("ReceivedKB"), ReceivedKB);
    note(QStringLiteral("LastTime"), LastTime);
    note(QStringLiteral("NumberOfYears"), NumberOfYears);
    note(QStringLiteral("NumberOfMinutes"), NumberOfMinutes);
    note(QStringLiteral("OverviewPlace"), OverviewPlace);
    note(QStringLiteral("Sites"), Sites);
    note<int>(QStringLiteral("the receive time-out"), &ReceiveTimeout, &SetReceiveTimeout);
    note<int>(QStringLiteral("the fetch deadline"), &FetchDeadline, &SetFetchDeadline);
    note<bool>(QStringLiteral("the program's end by its close"), &ProgramEnding, &SetProgramEnding);
    note<QString>(QStringLiteral("the current folder"), &QDir::currentPath,
                  [](const QString &folder) { QDir::setCurrent(folder); });
    note<QLocale>(QStringLiteral("the default locale"), [] { return QLocale(); }, &QLocale::setDefault);
    for (const char *name : kVariables) {
        note<std::optional<QByteArray>>(QString::fromLatin1(name), [name] { return EnvValue(name); },
                                        [name](const std::optional<QByteArray> &value) { SetEnv(name, value); });
    }
}

ProgramState::~ProgramState()
{
    for (const Saved &saved : m_saved)
        saved.restore();
}

QStringList ProgramState::changed() const
{
    QStringList names;
    for (const Saved &saved : m_saved) {
        if (saved.changed())
            names << saved.name;
    }
    return names;
}

void WatchProgramState()
{
    // Appended after the result printer, so its end-of-test report (listeners hear of a test's
    // end in reverse order) comes before the printer writes the test's verdict.
    ::testing::UnitTest::GetInstance()->listeners().Append(new ProgramStateWatch);
}
