#pragma once
// The report without a window (pelgrandix --report): reads the positions, runs one download as
// the main window runs it (probe, option pages, index quote), and prints every position with
// its figures and the totals of the portfolio overview. Runs inside a QCoreApplication: no
// display, no window toolkit.

struct ReportOptions
{
    enum Format { Table, Csv, Json };
    Format format = Table;
    // Save the updated positions as the window does and add them to the history file.
    bool save = false;
};

// Exit statuses of the report.
inline constexpr int kReportDone = 0;
// No connection, or a page failed: the positions are printed as they were.
inline constexpr int kReportDownloadFailed = 2;
// The positions file cannot be read, with --save a file cannot be written, or the report
// itself cannot be written.
inline constexpr int kReportFileFailed = 3;

// Prints the report on standard output and what went wrong on standard error; gives the exit
// status. The data folder and the support values must be set up.
int RunReport(const ReportOptions &options);
