#pragma once
// One download for the report, run by the same code as the main window's: the positions and
// the quote list live here instead of in the window, and what the window would show is kept.

#include <QString>
#include <QStringList>

#include "market/index_download.h"
#include "market/option_download.h"
#include "market/quote_list.h"

class ReportDownload : public OptionDownloadWindow, public IndexQuoteWindow
{
public:
    explicit ReportDownload(QStringList positionLines);

    // The option pages, then the index quote, in the order of the window's first download.
    void run();

    // The positions, updated when the download ran to its end.
    const QStringList &lines() const { return m_lines; }
    bool ranToEnd() const { return m_ranToEnd; }
    // The last text of the status bar and of the index level's label.
    const QString &statusText() const { return m_status; }
    const QString &indexText() const { return m_indexText; }

    void setStatusText(const QString &text) override { m_status = text; }
    void setBusyCursor(bool) override {}
    QuoteList &quoteList() override { return m_quotes; }
    QStringList positionLines() const override { return m_lines; }
    void replacePositionLines(const QStringList &lines) override { m_lines = lines; }
    void enableDownloadCommands() override {}
    void showDownloadedPrices() override { m_ranToEnd = true; }
    void showIndexQuote(const IndexQuoteResult &result) override { m_indexText = result.l22; }

private:
    QStringList m_lines;
    QuoteList m_quotes;
    bool m_ranToEnd = false;
    QString m_status;
    QString m_indexText;
};
