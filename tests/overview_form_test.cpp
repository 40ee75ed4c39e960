#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QChartView>
#include <QLineSeries>
#include <QTest>

#include "app/main_form.h"
#include "book/positions_book.h"
#include "entry/settings_values.h"
#include "portfolio/overview_form.h"
#include "portfolio/payoff_tab_widget.h"
#include "portfolio/scenario_tab_widget.h"
#include "support/main_window_fixture.h"
#include "support/system_info.h"
#include "support/wait_until.h"

namespace {

const QByteArray kPositions =
    "AEX; Call; dec; 2099; 900; 15,50; 4,50; 1; 1100,00; 1\r\n"
    "AEX; Put; jan; 2099; 880; 5,00; 25,00; 1; -2000,00; 0\r\n"
    "geen positie\r\n"
    "AEX; Call; mrt; 2099; 920; 30,00; 20,00; 3; 3000,00; 1\r\n";

class Overview : public ::testing::Test
{
protected:
    explicit Overview(const QByteArray &positions = kPositions, bool quoted = true)
        : fixture(positions), form(fixture.form())
    {
        if (quoted)
            quoteIndex();
    }

    // An index quote as a refresh brings it.
    void quoteIndex()
    {
        fixture.book().AEXQuote().sAEX = QStringLiteral("900,00");
        IndexQuoteResult shown;
        shown.kind = IndexQuoteResult::Show;
        shown.l22 = QStringLiteral("900,00");
        fixture.book().showIndexQuote(shown);
    }

    // Opens the overview with its button, usable after the first download.
    TOverviewForm *open()
    {
        form->enableDownloadCommands();
        form->OverzichtButton->click();
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *overview = qobject_cast<TOverviewForm *>(window)) {
                EXPECT_TRUE(QTest::qWaitForWindowExposed(overview));
                return overview;
            }
        }
        ADD_FAILURE() << "no overview";
        return nullptr;
    }

    QString cell(TOverviewForm *overview, int row, int column) const
    {
        return overview->PositionsView->model()->index(row, column).data().toString();
    }

    MainWindowFixture fixture;
    TMainForm *form;
};

// A written put and a written call of next year's June series, whose prices tell their
// volatilities; the put loses when the AEX falls 10 %.
QByteArray heldPositions()
{
    const QByteArray year = QByteArray::number(QDate::currentDate().year() + 1);
    return "AEX; Put; jun; " + year + "; 880; 45,00; 40,00; 2; 1000,00; 1\r\n"
           "AEX; Call; jun; " + year + "; 920; 35,00; 30,00; 1; 500,00; 1\r\n";
}

class RiskTabs : public Overview
{
protected:
    RiskTabs() : Overview(heldPositions(), false) {}

    static QString gridCell(TOverviewForm *overview, double move, int column)
    {
        const auto row = std::find(kIndexMoves.begin(), kIndexMoves.end(), move) - kIndexMoves.begin();
        const QTableWidgetItem *item = overview->ScenarioTab->Grid->item(int(row), column);
        return item ? item->text() : QString();
    }
};

} // namespace

TEST_F(Overview, TableAndTotalsFollowTheMainWindowsList)
{
    TOverviewForm *overview = open();
    ASSERT_TRUE(overview);
    EXPECT_EQ(overview->windowTitle(), "Pelgrandix - Overzicht");
    QAbstractItemModel *table = overview->PositionsView->model();
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(cell(overview, 1, PortfolioModel::Verschil), "-2.000,00");
    EXPECT_EQ(table->index(1, PortfolioModel::Verschil).data(Qt::ForegroundRole).value<QBrush>().color(), Qt::red);
    EXPECT_FALSE(table->index(0, PortfolioModel::Verschil).data(Qt::ForegroundRole).isValid());
    EXPECT_TRUE(overview->TotalsLabel->text().startsWith("Verschil posities: 4.100,00    Verschil alle regels: 2.100,00"))
        << overview->TotalsLabel->text().toStdString();
    EXPECT_TRUE(overview->InputsLabel->text().startsWith("AEX 900,00")) << overview->InputsLabel->text().toStdString();
    EXPECT_EQ(overview->RiskTotalsLabel->text(), RiskTotalsText(overview->model()->totals()));
    EXPECT_EQ(overview->CoverLabel->text(), CoverText(overview->model()->totals()));

    // Ticking "Positie:" for the put in the main window counts it among the held positions.
    form->ListBox1->setCurrentRow(1);
    form->PositieCheck->click();
    ASSERT_TRUE(waitForQueuedWork());
    EXPECT_TRUE(overview->TotalsLabel->text().startsWith("Verschil posities: 2.100,00"))
        << overview->TotalsLabel->text().toStdString();

    // Sorted by the difference, the third row is the last line of the list; a double click
    // selects that line in the main window and shows it in its panel.
    overview->PositionsView->sortByColumn(PortfolioModel::Verschil, Qt::AscendingOrder);
    ASSERT_EQ(cell(overview, 2, PortfolioModel::Verschil), "3.000,00");
    const QRect rect = overview->PositionsView->visualRect(table->index(2, PortfolioModel::Serie));
    // A double click begins with a click, which this toolkit's test double click leaves out.
    QTest::mouseClick(overview->PositionsView->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(overview->PositionsView->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(form->ListBox1->currentRow(), 3);
    EXPECT_EQ(form->Label3->text(), "AEX Call mrt 2099 920");

    // A line deleted above it leaves the selection, and so the chart, on the same position.
    const auto selectedDifference = [&] {
        const QModelIndexList rows = overview->PositionsView->selectionModel()->selectedRows(PortfolioModel::Verschil);
        return rows.isEmpty() ? QString() : rows.first().data().toString();
    };
    ASSERT_EQ(selectedDifference(), "3.000,00");
    form->book().removeLine(0);
    ASSERT_TRUE(waitForQueuedWork());
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(selectedDifference(), "3.000,00");

    overview->move(321, 123);
    EXPECT_EQ(OverviewPlace.left, 321) << "the place is kept for the stored settings";
    EXPECT_EQ(OverviewPlace.top, 123);
}

TEST_F(Overview, AColumnWidensForAWiderFigure)
{
    TOverviewForm *overview = open();
    ASSERT_TRUE(overview);
    // A difference far wider than any the column was fitted to at the first showing.
    form->book().setLine(3, "AEX; Call; mrt; 2099; 920; 30,00; 20,00; 30000; 30000000,00; 1");
    ASSERT_TRUE(waitForQueuedWork());
    const int shown = overview->PositionsView->columnWidth(PortfolioModel::Verschil);
    overview->PositionsView->resizeColumnToContents(PortfolioModel::Verschil);
    EXPECT_EQ(shown, overview->PositionsView->columnWidth(PortfolioModel::Verschil)) << "the width of its contents";
}

TEST_F(Overview, ChartShowsThePositionsHistoryAndFollowsDownloads)
{
    const QDateTime start = QDateTime::currentDateTime().addDays(-1);
    QList<history_file::Row> rows;
    for (int download = 0; download < 3; ++download) {
        const QDateTime at = start.addSecs(900 * download);
        const std::optional<double> index = download == 1 ? std::nullopt : std::optional<double>(900 + download);
        rows << history_file::Row{at, index, "AEX", "Call", "dec", 2099, 900, 4.5, 1, 1100.0 + download};
    }
    ASSERT_TRUE(history_file::append(DataDir, rows));

    TOverviewForm *overview = open();
    ASSERT_TRUE(overview);
    overview->Tabs->setCurrentIndex(1);
    EXPECT_EQ(overview->ChartTitle->text(), "AEX Call dec 2099 900,00");
    EXPECT_EQ(overview->ChartStack->currentWidget(), static_cast<QWidget *>(overview->ChartView));
    ASSERT_EQ(overview->differenceSeries()->count(), 3);
    EXPECT_EQ(overview->differenceSeries()->at(2).y(), 1102.0);
    EXPECT_EQ(overview->indexSeries()->count(), 2) << "a row without an index level has no AEX point";

    const QString png = QDir(fixture.home().path()).filePath("grafiek.png");
    ASSERT_TRUE(overview->saveChart(png));
    // The picture names its position above the chart: the band over the chart holds text.
    const QImage saved(png);
    ASSERT_EQ(saved.size().width(), overview->ChartView->width());
    const int band = saved.height() - overview->ChartView->height();
    ASSERT_GT(band, 0);
    int inked = 0;
    for (int y = 0; y < band; ++y)
        for (int x = 0; x < saved.width(); ++x)
            inked += qGray(saved.pixel(x, y)) < 128;
    EXPECT_GT(inked, 20);

    // The next download adds a point to the chart that is open.
    rows = {history_file::Row{start.addSecs(3600), 905.0, "AEX", "Call", "dec", 2099, 900, 4.0, 1, 1150}};
    ASSERT_TRUE(history_file::append(DataDir, rows));
    overview->scheduleRefresh();
    ASSERT_TRUE(waitForQueuedWork());
    EXPECT_EQ(overview->differenceSeries()->count(), 4);

    // A position without history says so instead of drawing an empty chart.
    overview->PositionsView->selectRow(1);
    EXPECT_EQ(overview->ChartStack->currentWidget(), overview->NoHistoryLabel);
    EXPECT_TRUE(overview->NoHistoryLabel->text().startsWith("Nog geen historie"));
    EXPECT_FALSE(overview->SaveChartButton->isEnabled());
}

TEST_F(Overview, WithoutTheChartLibraryTheTableWorksAndTheChartTabSaysWhy)
{
    ASSERT_TRUE(history_file::append(
        DataDir, {history_file::Row{QDateTime::currentDateTime(), 900.0, "AEX", "Call", "dec", 2099, 900, 4.5, 1, 1100}}));
    const QTemporaryDir withoutLibrary;
    TOverviewForm overview(fixture.book(), form->identity(), *form, withoutLibrary.path());
    overview.show();
    EXPECT_EQ(overview.PositionsView->model()->rowCount(), 3);

    overview.Tabs->setCurrentIndex(1);
    EXPECT_EQ(overview.ChartStack->currentWidget(), overview.NoHistoryLabel);
    EXPECT_TRUE(overview.NoHistoryLabel->text().startsWith("De grafiek kan niet worden getoond: "))
        << overview.NoHistoryLabel->text().toStdString();
    EXPECT_TRUE(overview.NoHistoryLabel->text().contains(withoutLibrary.path()));
    EXPECT_FALSE(overview.SaveChartButton->isEnabled());
    EXPECT_FALSE(overview.saveChart(QDir(withoutLibrary.path()).filePath("grafiek.png")));

    overview.Tabs->setCurrentWidget(overview.PayoffTab);
    EXPECT_TRUE(overview.PayoffTab->MessageLabel->text().startsWith("De grafiek kan niet worden getoond: "))
        << overview.PayoffTab->MessageLabel->text().toStdString();
    EXPECT_FALSE(overview.PayoffTab->SaveChartButton->isEnabled());
}

TEST_F(RiskTabs, ScenarioGridAndPayoffChartShowTheHeldPositions)
{
    TOverviewForm *overview = open();
    ASSERT_TRUE(overview);
    PayoffTabWidget *payoff = overview->PayoffTab;
    // Before the first index quote both tabs say so, and follow the quote when it comes.
    for (RiskTabWidget *tab : std::initializer_list<RiskTabWidget *>{overview->ScenarioTab, payoff}) {
        overview->Tabs->setCurrentWidget(tab);
        EXPECT_EQ(tab->Stack->currentWidget(), tab->MessageLabel);
        EXPECT_TRUE(tab->MessageLabel->text().startsWith("Nog geen AEX-koers"))
            << tab->MessageLabel->text().toStdString();
    }
    EXPECT_FALSE(payoff->SaveChartButton->isEnabled());
    quoteIndex();
    ASSERT_TRUE(waitForQueuedWork());
    ASSERT_EQ(overview->model()->totals().heldVega.leftOut, 0) << "both positions have a volatility";
    overview->Tabs->setCurrentWidget(overview->ScenarioTab);
    ASSERT_EQ(overview->ScenarioTab->Stack->currentWidget(), overview->ScenarioTab->Grid->parentWidget());

    // Today at today's level the grid shows what the table does.
    EXPECT_TRUE(overview->TotalsLabel->text().startsWith(
        "Verschil posities: " + gridCell(overview, 0.0, ScenarioTabWidget::Nu) + " "))
        << overview->TotalsLabel->text().toStdString();
    EXPECT_EQ(gridCell(overview, -0.075, ScenarioTabWidget::Beweging), "-7,5 %");
    const QTableWidget *grid = overview->ScenarioTab->Grid;
    EXPECT_EQ(grid->item(0, ScenarioTabWidget::OpExpiratie)->foreground().color(), Qt::red) << "a loss";
    EXPECT_NE(grid->item(4, ScenarioTabWidget::OpExpiratie)->foreground().color(), Qt::red) << "a gain";

    // A higher volatility changes the figures before expiry and leaves those at expiry.
    std::map<int, QString> before;
    for (int column : {ScenarioTabWidget::Nu, ScenarioTabWidget::OverEenWeek, ScenarioTabWidget::OpExpiratie})
        before[column] = gridCell(overview, -0.05, column);
    overview->ScenarioTab->VolatilityShift->setCurrentIndex(overview->ScenarioTab->VolatilityShift->findData(10.0));
    EXPECT_NE(gridCell(overview, -0.05, ScenarioTabWidget::Nu), before[ScenarioTabWidget::Nu]);
    EXPECT_NE(gridCell(overview, -0.05, ScenarioTabWidget::OverEenWeek), before[ScenarioTabWidget::OverEenWeek]);
    EXPECT_EQ(gridCell(overview, -0.05, ScenarioTabWidget::OpExpiratie), before[ScenarioTabWidget::OpExpiratie]);

    // The payoff: both curves over the range, the line at today's level, the picture saved.
    overview->Tabs->setCurrentWidget(payoff);
    ASSERT_GT(payoff->todaySeries()->count(), 400);
    EXPECT_EQ(payoff->expirySeries()->count(), payoff->todaySeries()->count());
    EXPECT_EQ(payoff->indexLine()->at(0).x(), 900.0);
}
