#pragma once
// The overview's tab "Resultaat": what buying back has realised, per month and per year, from the
// journal "Afgesloten.csv", with this year's total and, beside it, the open result of the held
// positions ("Verschil posities").

#include <QDate>
#include <QLabel>
#include <QTableWidget>
#include <QWidget>

#include "portfolio/journal_file.h"

class BarChartWidget;

class ResultTab : public QWidget
{
    Q_OBJECT
public:
    explicit ResultTab(QWidget *parent = nullptr);

    QLabel *TotalLabel;
    QTableWidget *MonthTable;
    QTableWidget *YearTable;
    BarChartWidget *MonthChart;

    void showJournal(const journal_file::ReadResult &journal, double openResult, const QDate &today);
};
