#pragma once
// What the report prints, in three forms: an aligned table for a terminal, ";"-separated lines
// as the history file writes them, and JSON. The figures are those of the portfolio overview.

#include <QByteArray>
#include <QMap>
#include <QString>

#include "portfolio/portfolio_model.h"

class ReportOutput
{
public:
    // status: the status bar's text after the download; realised: what buying back realised,
    // per year.
    ReportOutput(const PortfolioInputs &inputs, const QString &status, const QMap<int, double> &realised = {});

    QByteArray table() const;
    QByteArray csv() const;
    QByteArray json() const;

    // Lines that cannot be read as a position: left out of the rows.
    int unreadableLines() const;

private:
    QString cellText(int row, int column) const;

    PortfolioInputs m_inputs;
    PortfolioModel m_model;
    QString m_status;
    QMap<int, double> m_realised;
};
