#pragma once
// The connectivity probe that comes before every download: the ping utility is run once against
// a host through the command interpreter, its output lands in "tmp.txt" in the current folder
// (or the data folder, see scratch_files.h), and the third line of that output decides whether
// a download may start.

#include <QString>

#include "market/shell_command.h"

struct ProbeResult {
    QString thirdLine;      // empty when the output had fewer lines or could not be read
    bool timedOut = false;  // the interpreter hung and was stopped; thirdLine is then empty
};

// The ping utility: PELGRANDIX_PING when set, else pelgrandix-ping beside the running program.
QString PingProgram();

// Runs "<ping> host -n 1 -w 100" with its output in tmp.txt, reads the third line of tmp.txt and
// deletes it.
// Probes must not overlap: the output file has one fixed name.
ProbeResult RunConnectivityProbe(const QString &host, int timeLimitMs = kCommandTimeLimitMs);

// The market-data downloads go ahead only on a third line that reports neither a time-out nor
// nothing at all.
bool MarketProbePassed(const ProbeResult &probe);
// The update check only stops on a time-out (a hung probe counts as one).
bool UpdateProbePassed(const ProbeResult &probe);
