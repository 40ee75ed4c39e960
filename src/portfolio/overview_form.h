#pragma once
// The portfolio overview "Pelgrandix - Overzicht": every readable position with its figures
// and the totals on the tab "Posities", and the history of the selected position on the tab
// "Grafiek". Not modal; it follows the main window's positions, downloads and index quotes
// while it is open. Made when it is first opened, it lives as long as the main window.

#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QWidget>

#include "portfolio/history_file.h"
#include "portfolio/portfolio_model.h"

class QChart;
class QChartView;
class QDateTimeAxis;
class QIdentityProxyModel;
class QLineSeries;
class QValueAxis;

class TOverviewForm : public QWidget
{
    Q_OBJECT
public:
    explicit TOverviewForm(QWidget *parent = nullptr);
    ~TOverviewForm() override;

    QTabWidget *Tabs;
    QTableView *PositionsView;
    QLabel *InputsLabel;
    QLabel *TotalsLabel;
    QLabel *ChartTitle;
    QStackedWidget *ChartStack;
    QLabel *NoHistoryLabel;
    QChartView *ChartView;
    QPushButton *SaveChartButton;

    PortfolioModel *model() const { return m_model; }
    QLineSeries *differenceSeries() const { return m_differenceSeries; }
    QLineSeries *indexSeries() const { return m_indexSeries; }

    // Brings the figures up to date with the main window's positions, the last index quote and
    // the settings: soon while the window is shown, else when it is shown next.
    void scheduleRefresh();
    void refresh();
    // The chart as a PNG file; false when it could not be written.
    bool saveChart(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildTable();
    void buildChart();
    void placeOnScreen();
    void rememberPlacement();
    const PortfolioRow *selectedRow() const;
    void selectLine(int line);
    void showChart();
    void showHistoryPoint(const QPointF &point, bool hovering);
    void reloadHistoryIfChanged();
    void selectInMainWindow(const QModelIndex &index);
    void saveChartAs();

    PortfolioModel *m_model;
    QIdentityProxyModel *m_proxy;
    QChart *m_chart = nullptr;
    QLineSeries *m_differenceSeries = nullptr;
    QLineSeries *m_indexSeries = nullptr;
    QDateTimeAxis *m_timeAxis = nullptr;
    QValueAxis *m_differenceAxis = nullptr;
    QValueAxis *m_indexAxis = nullptr;

    // The history as last read, and the file's size and time of change then.
    history_file::ReadResult m_history;
    qint64 m_historySize = -1;
    QDateTime m_historyChanged;
    // The rows the chart shows.
    QList<history_file::Row> m_chartRows;

    bool m_refreshQueued = false;
    bool m_stale = true;
    // Set while a refresh selects the row again; the refresh shows the chart itself.
    bool m_refreshing = false;
};
