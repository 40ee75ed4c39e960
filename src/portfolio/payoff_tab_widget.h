#pragma once
// The overview's tab "Uitbetaling": "Verschil posities" of the held positions against the AEX
// level from 20 % below to 20 % above its last quote, today and at their first expiry, drawn by
// the chart library; beside it the levels where they break even at that expiry and the worst
// result within the range, and below it "Opslaan als PNG...".

#include <QPushButton>

#include "portfolio/risk_tab_widget.h"

class PayoffChart;
class QLineSeries;

class PayoffTabWidget : public RiskTabWidget
{
    Q_OBJECT
public:
    // The chart library is looked for in chartLibraryFolder.
    explicit PayoffTabWidget(const QString &chartLibraryFolder, QWidget *parent = nullptr);

    // Null when the chart library could not be opened; the tab then says why.
    QWidget *ChartView = nullptr;
    QLabel *BreakEvenLabel;
    QLabel *WorstLabel;
    QPushButton *SaveChartButton;

    QLineSeries *todaySeries() const;
    QLineSeries *expirySeries() const;
    QLineSeries *indexLine() const;
    // The chart as a PNG file with its title; false when it could not be written or there is
    // no chart.
    bool saveChart(const QString &path);

protected:
    void showBook(const ScenarioBook &book) override;

private:
    // Owned by ChartView, which it is.
    PayoffChart *m_chart = nullptr;
    QString m_chartError;
    // What a saved picture says above the chart.
    QString m_title;
};
