#pragma once
// The portfolio overview "Pelgrandix - Overzicht": every readable position with its figures
// and the totals on the tab "Posities", and the history of the selected position on the tab
// "Grafiek". Not modal; it follows the positions book (its lines, downloads, index quotes and
// settings) while it is open. Made when it is first opened, it lives as long as the main window.

#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QWidget>

#include <optional>

#include "portfolio/history_file.h"
#include "portfolio/portfolio_model.h"
#include "support/program_identity.h"

class HistoryChart;
class PayoffTabWidget;
class ResultTab;
class ScenarioTabWidget;
class PositionsBook;
class QIdentityProxyModel;
class QLineSeries;

class TOverviewForm : public QWidget
{
    Q_OBJECT
public:
    // Placed over mainWindow when its stored place is out of sight. The chart library is looked
    // for in chartLibraryFolder; the program's own unless told otherwise.
    TOverviewForm(PositionsBook &book, const ProgramIdentity &identity, const QWidget &mainWindow,
                  const QString &chartLibraryFolder = QString());
    ~TOverviewForm() override;

    QTabWidget *Tabs;
    QTableView *PositionsView;
    QLabel *InputsLabel;
    QLabel *TotalsLabel;
    // Theta, gamma and vega of the held positions, and the cover they ask.
    QLabel *RiskTotalsLabel;
    QLabel *CoverLabel;
    QLabel *ChartTitle;
    QStackedWidget *ChartStack;
    QLabel *NoHistoryLabel;
    // Null when the chart library could not be opened; the tab then says why.
    QWidget *ChartView = nullptr;
    QPushButton *SaveChartButton;
    // What the held positions would show if the AEX moved: a grid and a chart.
    ScenarioTabWidget *ScenarioTab;
    PayoffTabWidget *PayoffTab;
    // What buying back has realised, per month and per year.
    ResultTab *ResultPage;

    PortfolioModel *model() const { return m_model; }
    QLineSeries *differenceSeries() const;
    QLineSeries *indexSeries() const;

    // Brings the figures up to date with the book's positions, the last index quote and the
    // settings: soon while the window is shown, else when it is shown next.
    void scheduleRefresh();
    void refresh();
    // The chart as a PNG file; false when it could not be written.
    bool saveChart(const QString &path);

signals:
    // The user asked to see the position of this line of the book (a double click on its row).
    void lineChosen(int line);
    // The user asked to buy back (or roll) the written option of this line of the book.
    void buyBackChosen(int line, bool roll);

protected:
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildTable();
    void buildChart(const QString &libraryFolder);
    void placeOnScreen(const QWidget &mainWindow);
    void fitColumns();
    void showEveryColumn();
    void rememberPlacement();
    const PortfolioRow *selectedRow() const;
    void selectLine(int line);
    // Follows the selected row's list line through `count` lines added at `first` (removed, for a
    // count below 0) in the book before the table is filled again.
    void followSelectedLine(int first, int count);
    void showChart();
    void showHistoryPoint(const QPointF &point, bool hovering);
    void reloadHistoryIfChanged();
    void chooseLine(const QModelIndex &index);
    void showPositionMenu(const QPoint &at);
    void saveChartAs();

    PositionsBook &m_book;
    PortfolioModel *m_model;
    QIdentityProxyModel *m_proxy;
    // Owned by ChartView, which it is.
    HistoryChart *m_chart = nullptr;
    QString m_chartError;

    // The history file as last read, and its size and time of change then. The rows of the
    // position chosen are found in it as it is chosen.
    history_file::FileBytes m_history;
    qint64 m_historySize = -1;
    QDateTime m_historyChanged;
    // The rows the chart shows.
    QList<history_file::Row> m_chartRows;

    QSet<int> m_columnsSizedByUser;
    bool m_fittingColumns = false;
    bool m_refreshQueued = false;
    bool m_stale = true;
    // The list line the selection belongs on after the lines added and deleted since the table
    // was filled (-1: its line was deleted); unset while no line was added or deleted.
    std::optional<int> m_selectedLine;
    // Set while a refresh selects the row again; the refresh shows the chart itself.
    bool m_refreshing = false;
};
