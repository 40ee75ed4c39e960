#include "portfolio/result_tab_widget.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QVBoxLayout>

#include "portfolio/bar_chart_widget.h"
#include "portfolio/portfolio_model.h"

namespace {

QTableWidget *makeTable(QWidget *parent, const QString &first)
{
    auto *table = new QTableWidget(0, 2, parent);
    table->setHorizontalHeaderLabels({first, QStringLiteral("Resultaat")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setWordWrap(false);
    return table;
}

void fill(QTableWidget *table, const QList<QPair<QString, double>> &rows)
{
    table->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        table->setItem(i, 0, new QTableWidgetItem(rows.at(i).first));
        auto *amount = new QTableWidgetItem(FigureText(rows.at(i).second, kMoneyDecimals));
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (rows.at(i).second < 0)
            amount->setForeground(Qt::red);
        table->setItem(i, 1, amount);
    }
    // "september 2026" whole on one line.
    table->resizeColumnToContents(0);
}

} // namespace

ResultTab::ResultTab(QWidget *parent)
    : QWidget(parent)
{
    TotalLabel = new QLabel(this);
    TotalLabel->setTextFormat(Qt::PlainText);
    QFont bold = TotalLabel->font();
    bold.setBold(true);
    TotalLabel->setFont(bold);
    MonthTable = makeTable(this, QStringLiteral("Maand"));
    YearTable = makeTable(this, QStringLiteral("Jaar"));
    MonthChart = new BarChartWidget(this);
    MonthChart->setMinimumHeight(120);
    auto *tables = new QHBoxLayout;
    tables->addWidget(MonthTable, 2);
    tables->addWidget(YearTable, 1);
    tables->addWidget(MonthChart, 3);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TotalLabel);
    layout->addLayout(tables, 1);
}

void ResultTab::showJournal(const journal_file::ReadResult &journal, double openResult, const QDate &today)
{
    const journal_file::Totals totals = journal_file::TotalsOf(journal.rows);
    QString text = QStringLiteral("Gerealiseerd %1: %2    Open resultaat (Verschil posities): %3")
                       .arg(today.year())
                       .arg(FigureText(totals.perYear.value(today.year()), kMoneyDecimals),
                            FigureText(openResult, kMoneyDecimals));
    if (!journal.error.isEmpty())
        text += QStringLiteral("\nAfgesloten.csv kon niet worden gelezen: ") + journal.error;
    TotalLabel->setText(text);

    // The newest first, as a statement lists them.
    QList<QPair<QString, double>> months, years;
    for (auto month = totals.perMonth.constEnd(); month != totals.perMonth.constBegin();) {
        --month;
        const QDate first = QDate::fromString(month.key() + QStringLiteral("-01"), Qt::ISODate);
        months.append({QLocale().standaloneMonthName(first.month()) + QLatin1Char(' ') + QString::number(first.year()),
                       month.value()});
    }
    for (auto year = totals.perYear.constEnd(); year != totals.perYear.constBegin();) {
        --year;
        years.append({QString::number(year.key()), year.value()});
    }
    fill(MonthTable, months);
    fill(YearTable, years);

    // This year's months, each one a bar.
    QList<BarChartWidget::Bar> bars;
    for (int month = 1; month <= 12; ++month) {
        const QString key = QDate(today.year(), month, 1).toString(QStringLiteral("yyyy-MM"));
        bars.append({QLocale().standaloneMonthName(month, QLocale::ShortFormat), totals.perMonth.value(key)});
    }
    MonthChart->setBars(bars);
}
