#pragma once
// The overview's tab "Scenario's": "Verschil posities" of the held positions if the AEX moved
// from its last quote by each of a row of moves, now, in a week and at every position's own
// expiry, with every volatility shifted as chosen above the grid.

#include <QComboBox>
#include <QTableWidget>

#include "portfolio/risk_tab_widget.h"

class ScenarioTabWidget : public RiskTabWidget
{
    Q_OBJECT
public:
    enum Column { Beweging, Niveau, Nu, OverEenWeek, OpExpiratie, ColumnCount };

    explicit ScenarioTabWidget(QWidget *parent = nullptr);

    QLabel *TitleLabel;
    // The volatility shift in points, as the item's data.
    QComboBox *VolatilityShift;
    QTableWidget *Grid;

protected:
    void showBook(const ScenarioBook &book) override;
};
