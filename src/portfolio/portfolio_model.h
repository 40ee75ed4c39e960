#pragma once
// The positions with their figures for the portfolio overview: one row per readable position
// line, with the advice of the detail panel and the risk figures, and the totals below them.
// No window: the model serves a table view, and the rows and totals serve anything else.

#include <QAbstractTableModel>
#include <QDateTime>
#include <QStringList>

#include <optional>
#include <vector>

#include "portfolio/portfolio_position.h"

struct PortfolioInputs {
    QStringList positionLines;
    std::optional<double> indexLevel;  // none before the first index quote
    double ratePercent = 0;
    double dividendYieldPercent = 0;
    QDateTime now;
    // The percentage of the index that the margin estimate asks above a written option's price.
    double marginPercent = 7.5;
    // The quote list's lines of the last download: a held position that lacks a volatility of
    // its own borrows that of a neighbouring strike from them (portfolio/scenarios.h).
    QStringList quoteLines = {};
    // The moment of the index quote, when known.
    QDateTime indexMoment = {};
};

struct PortfolioRow {
    PortfolioPosition position;
    // Calendar days from today to the expiry day (below 0 once it has passed); none without an
    // expiry.
    std::optional<int> daysToExpiry;
    // What writing the position brought in: amount x 100 x transaction price.
    double premium = 0;
    std::optional<double> perOption;  // none without an amount
    QString advice;                   // empty when the detail panel would hide it
    std::optional<double> impliedVolatility;
    std::optional<double> delta;
    // What the position gains when the index rises one point: -amount x 100 x delta for a
    // written option; 0 for one that is not held.
    std::optional<double> positionDelta;
    // Per option at its implied volatility: how the delta moves per index point, how the value
    // moves per volatility point, and what the value changes by overnight (risk.h). An expired
    // option has none of them left: 0.
    std::optional<double> gamma, vega, thetaPerDay;
    // The same for the position as positionDelta is: -amount x 100 x the figure for a written
    // option (what a writer earns per day is a positive theta), 0 for one that is not held.
    std::optional<double> positionGamma, positionVega, positionThetaPerDay;
    // For a held position: the broker's margin as brokers publish it (none without a price or
    // an index quote), and for a written put the cash to buy it in at its strike (none for a
    // call). None for a position that is not held.
    std::optional<double> marginEstimate, cashCover;
};

// A figure summed over the held positions that have it, and how many held ones lack it.
struct HeldSum {
    double sum = 0;
    int leftOut = 0;
    void add(std::optional<double> figure);
};

struct PortfolioTotals {
    double heldDifference = 0;
    double allDifference = 0;
    double heldPositionDelta = 0;
    int heldWithoutDelta = 0;  // held positions left out of the delta sum: their delta is unknown
    HeldSum heldThetaPerDay, heldGamma, heldVega;
    // The held positions' margins together, puts and calls of one expiry paired (cover.h).
    HeldSum heldMargin;
    double cashCoverPuts = 0;
};

std::vector<PortfolioRow> PortfolioRows(const PortfolioInputs &inputs);
PortfolioTotals TotalsOf(const std::vector<PortfolioRow> &rows);

// A fraction as per cent (0.184 as 18.4); none stays none.
std::optional<double> PercentOf(std::optional<double> fraction);
// A figure in the user's notation with a fixed number of decimals; "---" when unknown.
QString FigureText(std::optional<double> value, int decimals);
// The decimals of the figures as the overview shows them; the volatility in per cent.
inline constexpr int kMoneyDecimals = 2;
inline constexpr int kVolatilityDecimals = 2;
inline constexpr int kDeltaDecimals = 3;
inline constexpr int kPositionDeltaDecimals = 1;
inline constexpr int kPositionGammaDecimals = 2;
// The line below the table.
QString TotalsText(const PortfolioTotals &totals);
// The lines below it: what the held positions earn per day and how their delta and value move
// ("Theta posities: 12,34 per dag ..."), and the money they ask as cover ("Kasdekking puts:
// ... Geschatte margin: ..."), each saying how many held positions it leaves out.
QString RiskTotalsText(const PortfolioTotals &totals);
QString CoverText(const PortfolioTotals &totals);
// What the risk figures rest on: the index level, the rate and the yield.
QString InputsText(const PortfolioInputs &inputs);

class PortfolioModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        Serie, Soort, Expiratie, Dagen, Uitoefenkoers, Aantal, Transactiekoers, Premie, LaatsteKoers,
        Verschil, VerschilPerOptie, Advies, Positie, ImplicieteVolatiliteit, Delta, PositieDelta, ThetaPerDag,
        Gamma, Vega, Margin, ColumnCount
    };
    enum Role {
        // What a column sorts by: numbers and dates as numbers, texts as texts; nothing for
        // an unknown figure.
        SortRole = Qt::UserRole,
        // True for money below zero: a difference, or a theta that costs the positions money.
        NegativeRole,
    };

    using QAbstractTableModel::QAbstractTableModel;

    // New rows, in the order last asked of sort().
    void setInputs(const PortfolioInputs &inputs);
    // The rows in the order of the position list, and the row shown at a row of the table.
    const std::vector<PortfolioRow> &rows() const { return m_rows; }
    const PortfolioRow &row(int tableRow) const { return m_rows[size_t(m_order[size_t(tableRow)])]; }
    const PortfolioTotals &totals() const { return m_totals; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Sorts by the values of SortRole, unknown figures last in either order; column -1 is the
    // order of the position list. The model sorts itself rather than leaving it to a sorting
    // proxy: a proxy asks for two values at every comparison, which took as long as working
    // out all the figures.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    // What a row sorts by: in a text column its text, in any other a number (none when
    // unknown).
    static bool isTextColumn(int column);
    static const QString &sortText(const PortfolioRow &row, int column);
    static std::optional<double> sortNumber(const PortfolioRow &row, int column);
    void sortRows();
    QString displayText(const PortfolioRow &row, int column) const;

    std::vector<PortfolioRow> m_rows;
    // Which of m_rows each row of the table shows: the rows themselves stay in list order.
    std::vector<int> m_order;
    PortfolioTotals m_totals;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
