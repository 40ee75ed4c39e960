#pragma once
// A tab of the overview that shows what the held positions would do if the market moved,
// worked out from the positions as the scenarios value them (scenarios.h). It works its figures
// out only while it is in sight: the overview refreshes at every download and index quote,
// mostly while another tab is shown. Before the first index quote, or without a held position
// to value, it says so instead; the line under it names the held positions left out.

#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QWidget>

#include <optional>
#include <vector>

#include "portfolio/portfolio_model.h"
#include "portfolio/scenarios.h"

class RiskTabWidget : public QWidget
{
    Q_OBJECT
public:
    // The positions of a refresh of the overview, rows as PortfolioRows gave them for these inputs.
    void showFigures(const PortfolioInputs &inputs, const std::vector<PortfolioRow> &rows);

    QStackedWidget *Stack;
    QLabel *MessageLabel;
    QLabel *LeftOutLabel;

protected:
    explicit RiskTabWidget(QWidget *parent = nullptr);
    // The page that shows the figures; the tab's layout holds the stack and the line under it,
    // and a tab may add below them.
    void setFiguresPage(QWidget *page);
    QVBoxLayout *pageLayout() const { return m_layout; }
    // Shows the book's figures on the figures page; it holds at least one position.
    virtual void showBook(const ScenarioBook &book) = 0;
    // Shows this text in place of the figures.
    void showMessage(const QString &text);
    // The book last shown; none before the first index quote.
    const std::optional<ScenarioBook> &book() const { return m_book; }
    void showEvent(QShowEvent *event) override;

private:
    void showNow();

    QVBoxLayout *m_layout;
    QWidget *m_figuresPage = nullptr;
    PortfolioInputs m_inputs;
    std::vector<PortfolioRow> m_rows;
    std::optional<ScenarioBook> m_book;
    bool m_stale = false;
};
