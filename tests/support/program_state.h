#pragma once
// The values the whole program shares, which tests set and windows change as they start: the
// data and home folders, the language code, the update state, the index texts, the download
// record and its last time, the settings' years and minutes, the portfolio's values and the
// sites, the receive time-out, the fetch deadline and the program's end by its close; and what a
// test changes of the process: the environment variables the program reads, the current folder
// and the default locale.
//
// A ProgramState notes them all when it is made and puts them back when it goes. A test that
// sets any of them derives its fixture from ProgramStateTest (MainWindowFixture holds one too),
// so that the next test finds what it would find alone, in whatever order the tests run. The test
// mains watch every test: one that leaves any of them changed fails and is told which (and the
// values are put back, so that the fault does not spread to the tests after it).

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>
#include <vector>

class ProgramState
{
public:
    ProgramState();
    ~ProgramState();
    ProgramState(const ProgramState &) = delete;
    ProgramState &operator=(const ProgramState &) = delete;

    // The names of the values that differ now from when this state was made.
    QStringList changed() const;

private:
    // One value: its name, whether it differs now from what was noted, and how to put that back.
    struct Saved {
        QString name;
        std::function<bool()> changed;
        std::function<void()> restore;
    };
    template <typename T>
    void note(const QString &name, std::function<T()> get, std::function<void(const T &)> set);
    template <typename T>
    void note(const QString &name, T &variable);

    std::vector<Saved> m_saved;
};

class ProgramStateTest : public ::testing::Test
{
private:
    ProgramState m_state;
};

// Installs the watch on every test; the test mains call it once.
void WatchProgramState();
