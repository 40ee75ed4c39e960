#pragma once
// The program's document: the positions of "Regels.dat" with what their loading found, the
// quote list and the index quote of the last downloads, the record that the downloads and the
// add dialog share, and the settings that the figures rest on. No window: the main window shows
// it, the other windows and the report work on it, and each change is announced, so that every
// view follows it without reaching into another.

#include <QObject>
#include <QString>
#include <QStringList>

#include "entry/settings_values.h"
#include "market/data_rec.h"
#include "market/index_quote.h"
#include "market/quote_list.h"
#include "portfolio/portfolio_model.h"
#include "positions/positions_file.h"

class PositionListModel;
class QAbstractListModel;

class PositionsBook : public QObject
{
    Q_OBJECT
public:
    // programName names the state folder where a list goes that a session's end could not save.
    explicit PositionsBook(QString programName, QObject *parent = nullptr);
    ~PositionsBook() override;

    // The position lines, one row of the model each. Changes of the lines are announced by the
    // model's own signals (a row changed, rows added or removed, all of them replaced).
    QAbstractListModel *lineModel() const;
    int count() const;
    // The line of a row; empty for a row that does not exist.
    QString line(int row) const;
    QStringList lines() const;
    // The first row holding this line, -1 when none does.
    int indexOf(const QString &text) const;
    // Replaces the line of a row that exists; the same text again is no change.
    void setLine(int row, const QString &text);
    // Replaces the lines in place, as many as both lists have.
    void replaceLines(const QStringList &lines);
    void appendLine(const QString &text);
    void removeLine(int row);

    // Reads "Regels.dat" from the data folder in place of all the lines; whether it was read
    // whole, and whether the end of an earlier session left a list elsewhere, is kept.
    void load();
    // Why the file was not read whole; empty when it was, or when the user has since chosen to
    // save over it anyway (acceptIncomplete).
    const QString &incompleteText() const { return m_incompleteText; }
    void acceptIncomplete() { m_incompleteText.clear(); }
    // Where the end of an earlier session put a list it could not save; empty when nothing lies
    // there that is newer than the positions file.
    const QString &unsavedNotice() const { return m_unsavedNotice; }
    // The user deleted the last line on purpose: the empty list is written at the next save,
    // so that the last position does not come back at the next start.
    void markEmptiedByUser() { m_emptiedByUser = true; }
    // Whether a save would write anything: an empty list only when the user emptied it.
    bool hasListToWrite() const;
    positions_file::SaveResult save();
    // Writes the list where it harms no file, for a session's end at which the positions file
    // could not take it (reason); says where in the session's log.
    void keepUnsaved(const QString &reason) const;

    // The quote list of the last download that ran to its end, sorted.
    QuoteList &KoersList() { return m_quotes; }
    const QuoteList &KoersList() const { return m_quotes; }
    // The expiry range that the add dialog offers and the fields of a quote lookup.
    TDataRec &DataRec() { return m_dataRec; }
    const TDataRec &DataRec() const { return m_dataRec; }
    // The texts of the index refreshes, kept from one to the next.
    IndexQuote &AEXQuote() { return m_indexQuote; }
    const IndexQuote &AEXQuote() const { return m_indexQuote; }
    // What the index labels show after the last refresh that showed anything.
    const IndexQuoteResult &indexTexts() const { return m_indexTexts; }
    // The index level that the figures of the positions are set against, with the moment of its
    // quote: the level at the end of the last price download, or, when none was known then, the
    // first to arrive after it. The prices of a download stand for a quarter of an hour and may be
    // as old; set against an index refreshed every 20 seconds, their implied volatility and delta
    // would move while the prices did not.
    struct IndexLevel {
        std::optional<double> level;
        QDateTime moment;
    };
    const IndexLevel &pricingIndex() const { return m_pricingIndex; }

    // What the figures of the overview and the report are worked out from at that moment.
    PortfolioInputs figureInputs(const QDateTime &now) const;

    const PortfolioSettings &settings() const { return m_settings; }
    void setSettings(const PortfolioSettings &settings);

    const QString &statusText() const { return m_statusText; }

    // What the downloads announce as they run; the book passes each on to its views.
    void setStatusText(const QString &text);
    void setBusy(bool busy);
    void pagesRead();
    void pricesDownloaded();
    void showIndexQuote(const IndexQuoteResult &result);
    // A buy-back added a row to the journal of realised results.
    void journalWritten();

signals:
    void statusChanged(const QString &text);
    // A download or an index refresh waits on the network (true) or is done waiting (false).
    void busyChanged(bool busy);
    // A download has fetched its pages, whether or not they could be used: the commands that
    // need a download can be offered.
    void pagesFetched();
    // A download ran to its end: the quote list and the prices of the lines are new.
    void pricesUpdated();
    // An index refresh has new texts for the index labels.
    void indexQuoteChanged(const IndexQuoteResult &result);
    void settingsChanged();
    void journalChanged();

private:
    QString m_programName;
    PositionListModel *m_lines;
    QuoteList m_quotes;
    TDataRec m_dataRec;
    IndexQuote m_indexQuote;
    IndexQuoteResult m_indexTexts;
    IndexLevel m_pricingIndex;
    PortfolioSettings m_settings;
    QString m_statusText;
    QString m_incompleteText;
    QString m_unsavedNotice;
    bool m_emptiedByUser = false;
};
