#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDir>
#include <QTimeZone>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "book/buy_back.h"
#include "book/positions_book.h"
#include "portfolio/journal_file.h"
#include "positions/position_view.h"
#include "positions/positions_file.h"
#include "support/program_state.h"
#include "support/system_info.h"
#include "support/temp_home.h"
#include "support/write_limit.h"

namespace {

const QDateTime kMoment(QDate(2026, 12, 9), QTime(15, 30), QTimeZone("Europe/Amsterdam"));

const QStringList kLines = {
    "AEX; Put; mrt; 2027; 880; 12,50; 4,00; 3; 2550,00; 1",
    "AEX; Call; mrt; 2027; 960; 6,00; 9,00; 2; -600,00; 0",
};

class BuyBackFiles : public ProgramStateTest
{
protected:
    BuyBackFiles()
    {
        DataDir = home.dataDir();
        QDir().mkpath(DataDir);
        EXPECT_TRUE(positions_file::save(DataDir, kLines).saved);
        book.load();
    }
    QStringList fileLines() const { return positions_file::load(DataDir).lines; }
    QList<journal_file::Row> journal() const { return journal_file::read(DataDir).rows; }

    TempHome home;
    PositionsBook book{QStringLiteral("Pelgrandix")};
};

BuyBackOrder order(int row, int contracts, double price, QString roll = {})
{
    return {row, contracts, price, 1.5, std::move(roll)};
}

} // namespace

TEST_F(BuyBackFiles, AnOrderChangesThePositionsAndTheJournalInOneStep)
{
    const QString roll = WrittenPositionLine("AEX", "Put", "jun", 2027, "840", "14,20", 2);
    EXPECT_EQ(roll, "AEX; Put; jun; 2027; 840; 14,20; 14,20; 2; 0,00; 1");
    struct Case {
        BuyBackOrder order;
        QStringList lines;
        double result;
    };
    const Case cases[] = {
        // Part of the contracts: the amount drops and the difference follows it.
        {order(0, 2, 4.0), {"AEX; Put; mrt; 2027; 880; 12,50; 4,00; 1; 850,00; 1", kLines[1]}, 2 * 100 * 8.5 - 3.0},
        // All of them: the line goes. A roll adds the new written line in the same save.
        {order(0, 3, 4.0, roll), {kLines[1], roll}, 3 * 100 * 8.5 - 4.5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.lines.join(" | ").toStdString());
        ASSERT_TRUE(positions_file::save(DataDir, kLines).saved);
        QFile::remove(journal_file::fileName(DataDir));
        book.load();
        const BuyBackOutcome outcome = BuyBack(book, c.order, kMoment);
        ASSERT_TRUE(outcome.done) << outcome.error.toStdString();
        EXPECT_EQ(book.lines(), c.lines);
        EXPECT_EQ(fileLines(), c.lines);
        const QList<journal_file::Row> rows = journal();
        ASSERT_EQ(rows.size(), 1);
        EXPECT_DOUBLE_EQ(rows[0].result, c.result);
        EXPECT_EQ(rows[0].buyBackPrice, 4.0);
        EXPECT_EQ(rows[0].amount, c.order.contracts);
        EXPECT_EQ(rows[0].time, kMoment);
    }
}

TEST_F(BuyBackFiles, AnOrderThatCannotBeCarriedOutChangesNoFile)
{
    const QByteArray before = home.readDataFile("Regels.dat");
    for (const BuyBackOrder &refused : {order(1, 1, 4.0), order(0, 4, 4.0), order(0, 0, 4.0), order(5, 1, 4.0),
                                        order(0, 1, -1.0), order(0, 1, 4.0, "AEX; Put\nAEX; Call")}) {
        const BuyBackOutcome outcome = BuyBack(book, refused, kMoment);
        EXPECT_FALSE(outcome.done);
        EXPECT_FALSE(outcome.error.isEmpty());
    }
    // A save that fails (a full disk) takes its journal row back.
    {
        const WriteLimit fullDisk(0);
        const BuyBackOutcome outcome = BuyBack(book, order(0, 1, 4.0), kMoment);
        EXPECT_FALSE(outcome.done);
        EXPECT_TRUE(outcome.error.startsWith("Posities niet opgeslagen")) << outcome.error.toStdString();
    }
    EXPECT_EQ(book.lines(), kLines);
    EXPECT_EQ(home.readDataFile("Regels.dat"), before);
    EXPECT_TRUE(home.readDataFile("Afgesloten.csv") == journal_file::header()
                || home.readDataFile("Afgesloten.csv").isNull());
}

// The program killed at each step of a buy-back, then started again: the journal and the
// positions agree, whatever the step.
TEST_F(BuyBackFiles, AKillAtAnyStepLeavesBothFilesChangedOrNeither)
{
    struct Case {
        const char *name;
        std::optional<BuyBackStep> killAt;  // none: killed while the row is half written
        bool changed;
    };
    const Case cases[] = {
        {"row half written", std::nullopt, false},
        {"row written, positions not saved", BuyBackStep::JournalWritten, false},
        {"both written", BuyBackStep::PositionsSaved, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(positions_file::save(DataDir, kLines).saved);
        // One buy-back done before, which must stay whatever happens to the next.
        QFile::remove(journal_file::fileName(DataDir));
        book.load();
        ASSERT_TRUE(BuyBack(book, order(0, 1, 8.0), kMoment.addDays(-1)).done);
        const QByteArray afterFirst = home.readDataFile("Regels.dat");

        const pid_t child = fork();
        if (child == 0) {
            if (c.killAt) {
                BuyBack(book, order(0, 2, 4.0), kMoment, [&](BuyBackStep step) {
                    if (step == *c.killAt)
                        std::raise(SIGKILL);
                });
            } else {
                // A disk that filled up in the middle of the row leaves a line without its end.
                journal_file::Row row;
                row.time = kMoment;
                const QByteArray half = journal_file::encodeRow(row).left(30);
                QFile file(journal_file::fileName(DataDir));
                file.open(QIODevice::Append);
                file.write(half);
                file.flush();
                std::raise(SIGKILL);
            }
            _exit(3);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        // The next start.
        ASSERT_TRUE(journal_file::settle(DataDir));
        book.load();
        const QList<journal_file::Row> rows = journal();
        ASSERT_EQ(rows.size(), c.changed ? 2 : 1);
        EXPECT_EQ(home.readDataFile("Regels.dat") != afterFirst, c.changed);
        EXPECT_EQ(book.line(0), c.changed ? kLines[1] : "AEX; Put; mrt; 2027; 880; 12,50; 4,00; 2; 1700,00; 1");
        EXPECT_EQ(home.readDataFile("Afgesloten.csv").count("\r\n"), 1 + rows.size()) << "a row taken back stays in the file";
        // A row cut off is skipped, and cut away by the next buy-back's row.
        EXPECT_EQ(journal_file::read(DataDir).skipped, c.killAt ? 0 : 1);
        qint64 at = 0;
        ASSERT_TRUE(journal_file::append(DataDir, rows.first(), &at));
        EXPECT_EQ(journal_file::read(DataDir).skipped, 0);
        EXPECT_EQ(journal().size(), rows.size() + 1);
    }
}
