#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QSortFilterProxyModel>
#include <QTimeZone>

#include "portfolio/portfolio_model.h"

namespace {

// Tuesday 8 December 2026, 10:00 in Amsterdam: the monthly series expires on the 18th, the
// weekly AX2 on the second Friday, the 11th.
const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 0), QTimeZone("Europe/Amsterdam"));

const QStringList kLines = {
    "AEX; Call; dec; 2026; 900; 15,50; 4,50; 1; 1100,00; 1",
    "AEX; Put; jan; 2027; 880; 5,00; 25,00; 1; -2000,00; 0",
    "kapotte regel",
    "AX2; Put; dec; 2026; 850; 3,00; 3,00; 1; 0,00",
    "AEX; Call; dec; 2026; 1000; 1,00; 0,00; 2; 200,00; 1",
    "AEX; Call; mrt; 2027; 920; 30,00; 20,00; 3; 3000,00; 1",
};

PortfolioInputs inputs(std::optional<double> index = 900.0)
{
    return {kLines, index, 2.0, 3.0, kNow};
}

QStringList column(const QAbstractItemModel &model, int column)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

} // namespace

TEST(PortfolioRows, ReadablePositionsWithTheirExpiryAndThePanelsAdvice)
{
    PortfolioModel model;
    model.setInputs(inputs());
    EXPECT_EQ(column(model, PortfolioModel::Serie), QStringList({"AEX", "AEX", "AX2", "AEX", "AEX"}));
    EXPECT_EQ(column(model, PortfolioModel::Expiratie),
              QStringList({"18-12-2026", "15-01-2027", "11-12-2026", "18-12-2026", "19-03-2027"}));
    EXPECT_EQ(column(model, PortfolioModel::Verschil),
              QStringList({"1.100,00", "-2.000,00", "0,00", "200,00", "3.000,00"}));
    EXPECT_EQ(column(model, PortfolioModel::VerschilPerOptie),
              QStringList({"1.100,00", "-2.000,00", "0,00", "100,00", "1.000,00"}));
    // Shown only above 15 per option, and never "Geen actie", as in the detail panel.
    EXPECT_EQ(column(model, PortfolioModel::Advies),
              QStringList({"Terugkopen", "Schrijven", "", "Terugkopen", "Terugkopen"}));
    EXPECT_EQ(model.rows()[2].position.line, 3) << "the unreadable line is left out, not renumbered";
    EXPECT_FALSE(model.rows()[2].position.held) << "a line without a flag is not held";
    EXPECT_EQ(model.index(0, PortfolioModel::Positie).data(Qt::CheckStateRole), Qt::Checked);
}

TEST(PortfolioRows, RiskFiguresFollowThePriceAndAreUnknownWithoutOne)
{
    PortfolioModel model;
    model.setInputs(inputs());
    const PortfolioRow &call = model.rows()[0];
    ASSERT_TRUE(call.impliedVolatility && call.delta);
    // The volatility prices the option at its last price again, over the time to the close.
    const risk::Option option{risk::Right::Call, 900, risk::YearsToExpiry(kNow, QDate(2026, 12, 18))};
    EXPECT_NEAR(risk::Price(option, {900, 0.02, 0.03}, *call.impliedVolatility), 4.50, 1e-6);
    EXPECT_GT(*call.delta, 0.3);
    EXPECT_LT(*call.delta, 0.7);
    EXPECT_DOUBLE_EQ(*call.positionDelta, -100 * *call.delta);
    EXPECT_LT(*model.rows()[1].delta, 0) << "a put loses value as the index rises";
    EXPECT_EQ(*model.rows()[1].positionDelta, 0) << "not written: no exposure";

    const PortfolioRow &unpriced = model.rows()[3];
    EXPECT_FALSE(unpriced.impliedVolatility);
    EXPECT_EQ(model.index(3, PortfolioModel::ImplicieteVolatiliteit).data().toString(), "---");
    EXPECT_EQ(model.index(3, PortfolioModel::PositieDelta).data().toString(), "---");

    model.setInputs(inputs(std::nullopt));
    for (const PortfolioRow &row : model.rows())
        EXPECT_FALSE(row.impliedVolatility || row.delta) << "no index quote yet";
}

TEST(PortfolioTotals, DifferencesOfHeldAndAllAndTheDeltaOfHeldPositions)
{
    PortfolioModel model;
    model.setInputs(inputs());
    const PortfolioTotals &totals = model.totals();
    EXPECT_DOUBLE_EQ(totals.heldDifference, 1100 + 200 + 3000);
    EXPECT_DOUBLE_EQ(totals.allDifference, 1100 - 2000 + 0 + 200 + 3000);
    EXPECT_DOUBLE_EQ(totals.heldPositionDelta, *model.rows()[0].positionDelta + *model.rows()[4].positionDelta);
    EXPECT_EQ(totals.heldWithoutDelta, 1);
    EXPECT_TRUE(TotalsText(totals).contains("Verschil posities: 4.300,00")) << TotalsText(totals).toStdString();
    EXPECT_TRUE(TotalsText(totals).contains("zonder 1 positie met onbekende delta")) << TotalsText(totals).toStdString();

    model.setInputs(inputs(std::nullopt));
    EXPECT_EQ(model.totals().heldWithoutDelta, 3);
    EXPECT_EQ(model.totals().heldPositionDelta, 0);
}

TEST(PortfolioModel, ColumnsSortByValueNotByText)
{
    PortfolioModel model;
    model.setInputs(inputs());
    // The model's own sorting, and any proxy that sorts by the sort role, agree.
    QSortFilterProxyModel byRole;
    byRole.setSourceModel(&model);
    byRole.setSortRole(PortfolioModel::SortRole);
    struct Case {
        int column;
        Qt::SortOrder order;
        QStringList sorted;
    };
    const Case cases[] = {
        {PortfolioModel::Verschil, Qt::AscendingOrder, {"-2.000,00", "0,00", "200,00", "1.100,00", "3.000,00"}},
        {PortfolioModel::Verschil, Qt::DescendingOrder, {"3.000,00", "1.100,00", "200,00", "0,00", "-2.000,00"}},
        {PortfolioModel::Expiratie, Qt::AscendingOrder, {"11-12-2026", "18-12-2026", "18-12-2026", "15-01-2027", "19-03-2027"}},
        {PortfolioModel::Soort, Qt::AscendingOrder, {"Call", "Call", "Call", "Put", "Put"}},
    };
    for (const Case &c : cases) {
        model.sort(c.column, c.order);
        EXPECT_EQ(column(model, c.column), c.sorted) << c.column;
        byRole.sort(c.column, c.order);
        EXPECT_EQ(column(byRole, c.column), c.sorted) << c.column;
    }
    // Unknown figures last, whichever way; a new fill keeps the order.
    for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        model.sort(PortfolioModel::ImplicieteVolatiliteit, order);
        model.setInputs(inputs());
        EXPECT_EQ(column(model, PortfolioModel::ImplicieteVolatiliteit).last(), "---");
    }
    model.sort(-1);
    EXPECT_EQ(model.row(model.rowCount() - 1).position.line, 5) << "the order of the list";
}

TEST(PortfolioRows, GreeksOfWrittenPositionsAndTheirTotals)
{
    PortfolioModel model;
    model.setInputs(inputs());
    const PortfolioRow &call = model.rows()[0];
    ASSERT_TRUE(call.thetaPerDay && call.gamma && call.vega);
    EXPECT_GT(*call.positionThetaPerDay, 0) << "a writer earns the time value";
    EXPECT_LT(*call.positionGamma, 0);
    EXPECT_EQ(*model.rows()[1].positionThetaPerDay, 0) << "not written: no exposure";
    EXPECT_EQ(model.index(3, PortfolioModel::ThetaPerDag).data().toString(), "---") << "no price";
    const PortfolioTotals &totals = model.totals();
    EXPECT_TRUE(RiskTotalsText(totals).startsWith(QString("Theta posities: %1 per dag (zonder 1 positie met onbekende theta)")
                                                      .arg(FigureText(*call.positionThetaPerDay + *model.rows()[4].positionThetaPerDay, 2))))
        << RiskTotalsText(totals).toStdString();

    // From 16:00 on the 18th the December options have expired, priced or not: nothing is left.
    PortfolioInputs later = inputs();
    later.now = QDateTime(QDate(2026, 12, 18), QTime(16, 0), QTimeZone("Europe/Amsterdam"));
    model.setInputs(later);
    EXPECT_EQ(model.rows()[0].positionThetaPerDay, 0.0);
    EXPECT_EQ(model.totals().heldVega.leftOut, 0);
}

TEST(PortfolioRows, MarginOfHeldPositionsWithAPriceAndTheCashCoverOfHeldPuts)
{
    PortfolioModel model;
    model.setInputs({{"AEX; Put; jan; 2027; 400; 3,00; 2,20; 2; 160,00; 1", "AEX; Call; jan; 2027; 540; 5,00; 4,80; 1; 20,00; 1",
                      "AEX; Put; jan; 2027; 64; 2,00; 0,00; 1; 200,00; 1", "AEX; Put; feb; 2027; 380; 2,00; 1,00; 5; 500,00; 0"},
                     444.0, 2.0, 3.0, kNow, 10.0});
    EXPECT_EQ(column(model, PortfolioModel::Margin), QStringList({"7.560,00", "3.960,00", "---", "---"}))
        << "no price, not held";
    // The call and one put of its expiry count once, at the call's larger margin.
    EXPECT_EQ(CoverText(model.totals()), "Kasdekking puts: 86.400,00    Geschatte margin (schatting; uw broker rekent zelf): "
                                         "7.740,00 (zonder 1 positie met onbekende margin)");
}
