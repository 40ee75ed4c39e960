#include "portfolio/overview_form.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

#include "app/dialog_geometry.h"
#include "book/positions_book.h"
#include "entry/settings_values.h"
#include "portfolio/chart_library.h"
#include "portfolio/chart_picture_widget.h"
#include "portfolio/payoff_tab_widget.h"
#include "portfolio/red_negative_proxy_widget.h"
#include "portfolio/result_tab_widget.h"
#include "portfolio/scenario_tab_widget.h"
#include "support/system_info.h"

namespace {

constexpr int kChartTab = 1;
constexpr int kSmallestSide = 200;

QString optionTitle(const PortfolioPosition &p)
{
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(p.series, p.kind, p.month, QString::number(p.year), FigureText(p.strike, 2));
}

// Labels of the time axis that tell its ticks apart without more digits than needed.
QString timeFormatFor(qint64 seconds)
{
    if (seconds < 3600)
        return QStringLiteral("HH:mm:ss");
    if (seconds < 24 * 3600)
        return QStringLiteral("HH:mm");
    if (seconds < 60 * 24 * 3600)
        return QStringLiteral("dd-MM HH:mm");
    return QStringLiteral("dd-MM-yyyy");
}

} // namespace

TOverviewForm::TOverviewForm(PositionsBook &book, const ProgramIdentity &identity, const QWidget &mainWindow,
                             const QString &chartLibraryFolder)
    : QWidget(nullptr, Qt::Window), m_book(book)
{
    setFont(QFont(QStringLiteral("Verdana"), 9));
    setWindowTitle(identity.name + QStringLiteral(" - Overzicht"));
    m_model = new PortfolioModel(this);
    m_proxy = new RedNegativeProxy(PortfolioModel::NegativeRole, this);
    m_proxy->setSourceModel(m_model);

    Tabs = new QTabWidget(this);
    buildTable();
    const QString libraryFolder
        = chartLibraryFolder.isNull() ? QCoreApplication::applicationDirPath() : chartLibraryFolder;
    buildChart(libraryFolder);
    ScenarioTab = new ScenarioTabWidget;
    Tabs->addTab(ScenarioTab, QStringLiteral("Scenario's"));
    PayoffTab = new PayoffTabWidget(libraryFolder);
    Tabs->addTab(PayoffTab, QStringLiteral("Uitbetaling"));
    ResultPage = new ResultTab;
    Tabs->addTab(ResultPage, QStringLiteral("Resultaat"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(Tabs);
    connect(Tabs, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == kChartTab)
            showChart();
    });

    // The overview follows every change of the book's lines (edits in the main window's panel,
    // added and deleted positions, the prices of a download), its index quote and its settings.
    const QAbstractItemModel *list = book.lineModel();
    connect(list, &QAbstractItemModel::dataChanged, this, &TOverviewForm::scheduleRefresh);
    connect(list, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &, int first, int last) {
        followSelectedLine(first, last - first + 1);
        scheduleRefresh();
    });
    connect(list, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex &, int first, int last) {
        followSelectedLine(first, -(last - first + 1));
        scheduleRefresh();
    });
    connect(list, &QAbstractItemModel::modelReset, this, &TOverviewForm::scheduleRefresh);
    connect(&book, &PositionsBook::pricesUpdated, this, &TOverviewForm::scheduleRefresh);
    connect(&book, &PositionsBook::indexQuoteChanged, this, &TOverviewForm::scheduleRefresh);
    connect(&book, &PositionsBook::settingsChanged, this, &TOverviewForm::scheduleRefresh);
    connect(&book, &PositionsBook::journalChanged, this, &TOverviewForm::scheduleRefresh);
    placeOnScreen(mainWindow);
}

TOverviewForm::~TOverviewForm() = default;

void TOverviewForm::buildTable()
{
    auto *page = new QWidget;
    PositionsView = new QTableView(page);
    PositionsView->setModel(m_proxy);
    PositionsView->setSelectionBehavior(QAbstractItemView::SelectRows);
    PositionsView->setSelectionMode(QAbstractItemView::SingleSelection);
    PositionsView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    PositionsView->setAlternatingRowColors(true);
    PositionsView->setWordWrap(false);
    PositionsView->verticalHeader()->hide();
    // In the order of the main window's list until the user sorts by a column.
    PositionsView->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    // A column the user sized keeps its width; the others follow their contents (fitColumns).
    connect(PositionsView->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column) {
                if (!m_fittingColumns)
                    m_columnsSizedByUser.insert(column);
            });
    PositionsView->setSortingEnabled(true);
    connect(PositionsView, &QAbstractItemView::doubleClicked, this, &TOverviewForm::chooseLine);
    PositionsView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(PositionsView, &QWidget::customContextMenuRequested, this, &TOverviewForm::showPositionMenu);
    connect(PositionsView->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (Tabs->currentIndex() == kChartTab && !m_refreshing)
            showChart();
    });

    InputsLabel = new QLabel(page);
    TotalsLabel = new QLabel(page);
    QFont bold = TotalsLabel->font();
    bold.setBold(true);
    TotalsLabel->setFont(bold);
    RiskTotalsLabel = new QLabel(page);
    CoverLabel = new QLabel(page);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(PositionsView, 1);
    layout->addWidget(TotalsLabel);
    layout->addWidget(RiskTotalsLabel);
    layout->addWidget(CoverLabel);
    layout->addWidget(InputsLabel);
    Tabs->addTab(page, QStringLiteral("Posities"));
}

void TOverviewForm::buildChart(const QString &libraryFolder)
{
    auto *page = new QWidget;
    ChartTitle = new QLabel(page);
    // Both show texts of the positions file and of the history file: never as markup.
    ChartTitle->setTextFormat(Qt::PlainText);

    NoHistoryLabel = new QLabel;
    NoHistoryLabel->setTextFormat(Qt::PlainText);
    NoHistoryLabel->setAlignment(Qt::AlignCenter);
    NoHistoryLabel->setWordWrap(true);
    ChartStack = new QStackedWidget(page);
    ChartStack->addWidget(NoHistoryLabel);
    const MakeHistoryChart makeChart = chart_library::openHistoryChart(libraryFolder, m_chartError);
    if (makeChart) {
        m_chart = makeChart([this](const QPointF &point, bool hovering) { showHistoryPoint(point, hovering); });
        ChartView = m_chart->view();
        ChartStack->addWidget(ChartView);
    }

    SaveChartButton = new QPushButton(QStringLiteral("Opslaan als PNG..."), page);
    connect(SaveChartButton, &QPushButton::clicked, this, &TOverviewForm::saveChartAs);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SaveChartButton);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(ChartTitle);
    layout->addWidget(ChartStack, 1);
    layout->addLayout(buttons);
    Tabs->addTab(page, QStringLiteral("Grafiek"));
}

void TOverviewForm::placeOnScreen(const QWidget &mainWindow)
{
    move(OverviewPlace.left, OverviewPlace.top);
    resize(std::max(OverviewPlace.width, kSmallestSide), std::max(OverviewPlace.height, kSmallestSide));
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    if (ShowsOnAScreen(QRect(pos(), size()), screens))
        return;
    const WindowPos centred = CentreOn({mainWindow.y(), mainWindow.x(), mainWindow.height(), mainWindow.width()},
                                       height(), width());
    move(centred.left, centred.top);
}

void TOverviewForm::rememberPlacement()
{
    OverviewPlace = {y(), x(), height(), width()};
}

void TOverviewForm::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    rememberPlacement();
}

void TOverviewForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    rememberPlacement();
}

void TOverviewForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_stale)
        refresh();
}

void TOverviewForm::scheduleRefresh()
{
    m_stale = true;
    // A download changes every line at once: one refresh follows them all.
    if (!isVisible() || m_refreshQueued)
        return;
    m_refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        if (m_refreshQueued)
            refresh();
    });
}

void TOverviewForm::refresh()
{
    m_refreshQueued = false;
    m_stale = false;
    const PortfolioRow *selected = selectedRow();
    const int line = m_selectedLine.value_or(selected ? selected->position.line : -1);
    m_selectedLine.reset();
    const bool first = m_model->rowCount() == 0;

    const PortfolioInputs inputs = m_book.figureInputs(QDateTime::currentDateTime());
    m_model->setInputs(inputs);
    TotalsLabel->setText(TotalsText(m_model->totals()));
    RiskTotalsLabel->setText(RiskTotalsText(m_model->totals()));
    CoverLabel->setText(CoverText(m_model->totals()));
    InputsLabel->setText(InputsText(inputs));
    ScenarioTab->showFigures(inputs, m_model->rows());
    PayoffTab->showFigures(inputs, m_model->rows());
    ResultPage->showJournal(journal_file::read(DataDir), m_model->totals().heldDifference, inputs.now.date());
    fitColumns();
    if (first)
        showEveryColumn();
    m_refreshing = true;
    selectLine(line);
    m_refreshing = false;
    if (Tabs->currentIndex() == kChartTab)
        showChart();
}

void TOverviewForm::fitColumns()
{
    // New figures may be wider than the old ("Terugkopen" where "Geen actie" stood): every column
    // takes the width of its contents again, except one whose width the user chose.
    m_fittingColumns = true;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (!m_columnsSizedByUser.contains(column))
            PositionsView->resizeColumnToContents(column);
    }
    m_fittingColumns = false;
}

void TOverviewForm::showEveryColumn()
{
    // Wide enough for every column, as far as the screen allows, moved left where it would
    // reach past the screen's right edge.
    layout()->activate();
    const QHeaderView *header = PositionsView->horizontalHeader();
    const int around = width() - PositionsView->viewport()->width();
    const int scrollBar = PositionsView->verticalScrollBar()->isVisible() ? 0 : PositionsView->verticalScrollBar()->sizeHint().width();
    const QRect screen = this->screen()->availableGeometry();
    const int wanted = std::min(header->length() + around + scrollBar, screen.width());
    if (wanted <= width())
        return;
    resize(wanted, height());
    if (x() + wanted > screen.right() + 1)
        move(std::max(screen.left(), screen.right() + 1 - wanted), y());
}

const PortfolioRow *TOverviewForm::selectedRow() const
{
    const QModelIndexList selected = PositionsView->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return nullptr;
    return &m_model->row(m_proxy->mapToSource(selected.first()).row());
}

void TOverviewForm::selectLine(int line)
{
    // The row of the line that was selected, or the first row.
    int proxyRow = 0;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->row(row).position.line == line) {
            proxyRow = m_proxy->mapFromSource(m_model->index(row, 0)).row();
            break;
        }
    }
    if (proxyRow < m_proxy->rowCount())
        PositionsView->selectRow(proxyRow);
}

void TOverviewForm::followSelectedLine(int first, int count)
{
    if (!m_selectedLine) {
        const PortfolioRow *selected = selectedRow();
        m_selectedLine = selected ? selected->position.line : -1;
    }
    int &line = *m_selectedLine;
    if (line < first)
        return;
    // A deleted selected line leaves the selection to the first row.
    line = count < 0 && line < first - count ? -1 : line + count;
}

void TOverviewForm::reloadHistoryIfChanged()
{
    const QFileInfo file(history_file::fileName(DataDir));
    const qint64 size = file.exists() ? file.size() : -1;
    if (size == m_historySize && file.lastModified() == m_historyChanged)
        return;
    m_history = history_file::readBytes(DataDir);
    m_historySize = size;
    m_historyChanged = file.lastModified();
}

void TOverviewForm::showChart()
{
    const PortfolioRow *row = selectedRow();
    m_chartRows.clear();
    if (row) {
        reloadHistoryIfChanged();
        // Which of the lines that hold this same option it is: each download wrote one row for
        // every one of them, in list order.
        int occurrence = 0;
        const OptionKey key = row->position.key();
        for (const PortfolioRow &other : m_model->rows())
            occurrence += other.position.line < row->position.line && other.position.key() == key;
        m_chartRows = history_file::rowsOf(m_history.bytes, key, occurrence);
        QString title = optionTitle(row->position);
        if (m_history.olderLeftOut)
            title += QStringLiteral(" (alleen de recente historie)");
        ChartTitle->setText(title);
    } else {
        ChartTitle->setText(QStringLiteral("Geen positie gekozen."));
    }

    SaveChartButton->setEnabled(m_chart && !m_chartRows.isEmpty());
    if (!m_chart || m_chartRows.isEmpty()) {
        if (!m_chart)
            NoHistoryLabel->setText(QStringLiteral("De grafiek kan niet worden getoond: ") + m_chartError);
        else if (!m_history.error.isEmpty())
            NoHistoryLabel->setText(QStringLiteral("Historie.csv kon niet worden gelezen: ") + m_history.error);
        else
            NoHistoryLabel->setText(
                QStringLiteral("Nog geen historie voor deze positie: na elke download komt er een punt bij."));
        ChartStack->setCurrentWidget(NoHistoryLabel);
        return;
    }
    QList<QPointF> differences, levels;
    for (const history_file::Row &r : m_chartRows) {
        const double when = double(r.time.toMSecsSinceEpoch());
        differences.append(QPointF(when, r.difference));
        if (r.index)
            levels.append(QPointF(when, *r.index));
    }
    QDateTime from = m_chartRows.first().time;
    QDateTime to = m_chartRows.last().time;
    if (from == to) {
        from = from.addSecs(-1800);
        to = to.addSecs(1800);
    }
    m_chart->plot(differences, levels, from.toLocalTime(), to.toLocalTime(), timeFormatFor(from.secsTo(to)));
    ChartStack->setCurrentWidget(ChartView);
}

void TOverviewForm::showHistoryPoint(const QPointF &point, bool hovering)
{
    if (!hovering || m_chartRows.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    // The row whose moment lies nearest to the point under the mouse.
    const auto distance = [&point](const history_file::Row &r) {
        return std::abs(double(r.time.toMSecsSinceEpoch()) - point.x());
    };
    const history_file::Row &r = *std::min_element(
        m_chartRows.begin(), m_chartRows.end(),
        [&distance](const history_file::Row &a, const history_file::Row &b) { return distance(a) < distance(b); });
    QToolTip::showText(QCursor::pos(),
                       QStringLiteral("%1\nVerschil: %2\nLaatste koers: %3\nAEX: %4")
                           .arg(r.time.toLocalTime().toString(QStringLiteral("dd-MM-yyyy HH:mm:ss")),
                                FigureText(r.difference, 2), FigureText(r.lastPrice, 2), FigureText(r.index, 2)),
                       ChartView);
}

void TOverviewForm::chooseLine(const QModelIndex &index)
{
    emit lineChosen(m_model->row(m_proxy->mapToSource(index).row()).position.line);
}

void TOverviewForm::showPositionMenu(const QPoint &at)
{
    const QModelIndex index = PositionsView->indexAt(at);
    if (!index.isValid())
        return;
    const PortfolioRow &row = m_model->row(m_proxy->mapToSource(index).row());
    const int line = row.position.line;
    const bool written = row.position.held && row.position.amount > 0;
    QMenu menu(this);
    QAction *buyBack = menu.addAction(QStringLiteral("Terugkopen..."));
    QAction *roll = menu.addAction(QStringLiteral("Doorrollen..."));
    buyBack->setEnabled(written);
    // A roll writes a series of the last download.
    roll->setEnabled(written && !m_book.KoersList().isEmpty());
    QAction *chosen = menu.exec(PositionsView->viewport()->mapToGlobal(at));
    if (chosen)
        emit buyBackChosen(line, chosen == roll);
}

QLineSeries *TOverviewForm::differenceSeries() const
{
    return m_chart ? m_chart->differenceSeries() : nullptr;
}

QLineSeries *TOverviewForm::indexSeries() const
{
    return m_chart ? m_chart->indexSeries() : nullptr;
}

bool TOverviewForm::saveChart(const QString &path)
{
    return ChartView && SaveChartPicture(*ChartView, ChartTitle->text(), path);
}

void TOverviewForm::saveChartAs()
{
    SaveChartPictureAs(*ChartView, ChartTitle->text(), QStringLiteral("Grafiek opslaan"),
                       QStringLiteral("Pelgrandix grafiek.png"));
}
