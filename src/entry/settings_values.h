#pragma once
// Options in force while the program runs: read from the stored settings at start, changed
// in the settings dialog, written back at the end. Both stay 0 until they are read.

#include <QtGlobal>

// How many years after the first expiry year the add dialog offers.
extern quint16 NumberOfYears;
// The period of the download timer in minutes.
extern quint16 NumberOfMinutes;

// A stored whole number taken into one of the two above keeps its low 16 bits.
inline quint16 cutToWord(int value)
{
    return static_cast<quint16>(value);
}

// The download period as the settings dialog offers it, 1 to 60 minutes. A stored period out
// of that range (edited by hand) is read as the nearest bound: cut to 16 bits it could come out
// as 0 (a download at every turn of the event loop) or as a period whose milliseconds overflow
// the timer, which then never fires.
inline constexpr int kMinDownloadMinutes = 1;
inline constexpr int kMaxDownloadMinutes = 60;
quint16 DownloadMinutesOf(int storedValue);

// The values the portfolio figures and the desktop alerts rest on, kept beside the options
// above: the interest rate and the dividend yield of the index in per cent, the switch of the
// desktop alerts when the advice of a written option changes, the percentage of the index
// that the margin estimate asks above a written option's price, and the broker's commission per
// contract bought back. The positions book holds the values in force.
struct PortfolioSettings {
    double ratePercent = 2.0;
    double dividendYieldPercent = 3.0;
    bool notifications = true;
    double marginPercent = 7.5;
    double commissionPerContract = 0;

    bool operator==(const PortfolioSettings &) const = default;
};
inline constexpr double kLowestPercent = 0;
inline constexpr double kHighestPercent = 20;
inline constexpr double kHighestMarginPercent = 100;
inline constexpr double kHighestCommission = 1000;
inline constexpr int kPercentDecimals = 2;

// Where a window stands and how large it is.
struct WindowPlace {
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;

    bool operator==(const WindowPlace &) const = default;
};

// The portfolio overview's place, kept while the program runs for the stored settings.
inline constexpr WindowPlace kOverviewDefaultPlace{140, 140, 460, 1040};
extern WindowPlace OverviewPlace;
