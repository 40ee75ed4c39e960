#pragma once
// A position line: one held option position, ten fields joined by "; ":
// series; kind; expiry month; expiry year; strike; transaction price; last price; amount;
// money difference; position flag.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

#include <optional>

namespace field {
// Zero-based indexes of the ten fields.
enum : int {
    Series = 0, Kind, Month, Year, Strike, TransactionPrice, LastPrice, Amount, Difference, Flag,
    Count
};
}

// Splits a line into its fields: an empty field between two ";" becomes one blank, other
// fields lose their leading blanks, and a line of one field gets an empty second field.
QStringList SplitPositionLine(const QString &line);
// The same fields as views into the line, for work that reads a line and rewrites it at once.
using PositionFieldViews = QVarLengthArray<QStringView, field::Count + 2>;
PositionFieldViews SplitPositionLineViews(QStringView line);
// Fields 1 to 10 joined by "; "; missing fields are empty, fields beyond the tenth are dropped.
// An empty first field is written as one blank, so that the line never starts like a comment.
QString JoinPositionFields(const QStringList &fields);
QString JoinPositionFieldViews(const PositionFieldViews &fields);
// True when a text typed for one field holds the field separator ";" or a line break, which
// would shift the fields behind it or split the line in two in the file.
bool BreaksPositionLine(const QString &fieldText);
// Completes an older nine-field line with a cleared position flag.
void CompleteNineFields(QStringList &fields);
void CompleteNineFields(PositionFieldViews &fields);
// True when the fields can be shown and rewritten: ten of them, with whole numbers as year,
// amount and flag. Other lines are kept exactly as they are.
bool IsUsablePosition(const QStringList &fields);
// The whole numbers of a usable line; nothing for another line.
struct PositionNumbers {
    int year = 0;
    int amount = 0;
    int flag = 0;
};
std::optional<PositionNumbers> ReadPositionNumbers(const PositionFieldViews &fields);
std::optional<PositionNumbers> ReadPositionNumbers(const QStringList &fields);
