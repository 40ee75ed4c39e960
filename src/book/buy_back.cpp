#include "book/buy_back.h"

#include <QCryptographicHash>

#include <optional>

#include "book/positions_book.h"
#include "portfolio/portfolio_position.h"
#include "positions/position_line.h"
#include "positions/position_view.h"
#include "positions/positions_file.h"
#include "support/system_info.h"

namespace {

std::optional<PortfolioPosition> heldPosition(const PositionsBook &book, int row)
{
    if (row < 0 || row >= book.count())
        return std::nullopt;
    std::optional<PortfolioPosition> position = ReadPortfolioPosition(book.line(row), row);
    if (!position || !position->held || position->amount <= 0)
        return std::nullopt;
    return position;
}

// The lines after the order: the bought-back contracts leave the position, and a rolled-into
// position follows at the end.
QStringList linesAfter(const PositionsBook &book, const BuyBackOrder &order, int amountHeld)
{
    QStringList lines = book.lines();
    if (order.contracts >= amountHeld)
        lines.removeAt(order.row);
    else
        lines[order.row] = WithAmount(lines.at(order.row), amountHeld - order.contracts);
    if (!order.rollLine.isEmpty())
        lines.append(order.rollLine);
    return lines;
}

} // namespace

QString BuyBackRefusal(const PositionsBook &book, const BuyBackOrder &order)
{
    const std::optional<PortfolioPosition> position = heldPosition(book, order.row);
    if (!position)
        return QStringLiteral("Alleen een geschreven positie (\"Positie:\" aangevinkt) kan worden teruggekocht.");
    if (order.contracts < 1 || order.contracts > position->amount)
        return QStringLiteral("Kies 1 tot %1 contracten.").arg(position->amount);
    if (!(order.price >= 0) || !(order.commissionPerContract >= 0))
        return QStringLiteral("Koers en commissie kunnen niet negatief zijn.");
    if (!order.rollLine.isEmpty()
        && (order.rollLine.contains(QLatin1Char('\n')) || order.rollLine.contains(QLatin1Char('\r'))
            || !IsUsablePosition(SplitPositionLine(order.rollLine))))
        return QStringLiteral("Geen geldige serie.");
    if (!book.incompleteText().isEmpty())
        return book.incompleteText();
    return {};
}

BuyBackOutcome BuyBack(PositionsBook &book, const BuyBackOrder &order, const QDateTime &now,
                       const std::function<void(BuyBackStep)> &reached)
{
    BuyBackOutcome outcome;
    outcome.error = BuyBackRefusal(book, order);
    if (!outcome.error.isEmpty())
        return outcome;
    const PortfolioPosition position = *heldPosition(book, order.row);
    const QStringList after = linesAfter(book, order, position.amount);

    journal_file::Row &row = outcome.row;
    row.time = now;
    row.series = position.series;
    row.kind = position.kind;
    row.month = position.month;
    row.year = position.year;
    row.strike = position.strike;
    row.amount = order.contracts;
    row.transactionPrice = position.transactionPrice;
    row.buyBackPrice = order.price;
    row.commission = order.commissionPerContract * order.contracts;
    row.result = journal_file::RealisedResult(row.amount, row.transactionPrice, row.buyBackPrice, row.commission);
    row.positionsBefore = journal_file::PositionsDigest(DataDir);
    row.positionsAfter =
        QCryptographicHash::hash(positions_file::encode(after), QCryptographicHash::Sha256).toHex();

    qint64 rowStart = 0;
    if (!journal_file::append(DataDir, row, &rowStart, &outcome.error)) {
        outcome.error = QStringLiteral("Afgesloten.csv niet bijgewerkt: ") + outcome.error;
        return outcome;
    }
    if (reached)
        reached(BuyBackStep::JournalWritten);

    const positions_file::SaveResult saved = positions_file::save(DataDir, after, true);
    if (saved.failed()) {
        // Neither file changes: the row is taken back, and the book was not touched yet.
        QString error;
        journal_file::takeBack(DataDir, rowStart, &error);
        outcome.error = positions_file::saveFailureText(saved.error);
        return outcome;
    }
    if (order.contracts >= position.amount)
        book.removeLine(order.row);
    else
        book.setLine(order.row, after.at(order.row));
    if (!order.rollLine.isEmpty())
        book.appendLine(order.rollLine);
    book.journalWritten();
    if (reached)
        reached(BuyBackStep::PositionsSaved);
    outcome.done = true;
    return outcome;
}
