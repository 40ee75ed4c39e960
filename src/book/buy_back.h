#pragma once
// Buying back a written option, and rolling it: the contracts bought back leave the position
// (its amount is lowered, or the line goes when all are bought back), what they realised goes
// into the journal "Afgesloten.csv", and for a roll a new written position of a later series
// joins the list, all in one save of the positions.
//
// The journal row is written first, then the positions are saved. A save that fails takes the
// row back; a kill between the two leaves a row that the next start takes back (see
// journal_file::settle), so that the two files never disagree.

#include <QDateTime>
#include <QString>

#include <functional>

#include "portfolio/journal_file.h"

class PositionsBook;

struct BuyBackOrder {
    int row = -1;         // the held position's line in the book
    int contracts = 0;    // 1 up to the position's amount
    double price = 0;     // per option
    double commissionPerContract = 0;
    // The new written position of a roll, a whole position line; empty for a buy-back alone.
    QString rollLine;
};

struct BuyBackOutcome {
    bool done = false;
    QString error;  // why nothing was done
    journal_file::Row row;
};

// Why the order cannot be carried out on the book as it stands; empty when it can.
QString BuyBackRefusal(const PositionsBook &book, const BuyBackOrder &order);

// The moments of a buy-back at which the files stand as they would after a kill: the journal
// row written but the positions not yet saved, and both done.
enum class BuyBackStep { JournalWritten, PositionsSaved };

// Carries the order out on the book and its files. reached is told of each step as it is done.
BuyBackOutcome BuyBack(PositionsBook &book, const BuyBackOrder &order, const QDateTime &now,
                       const std::function<void(BuyBackStep)> &reached = {});
