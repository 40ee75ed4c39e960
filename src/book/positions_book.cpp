#include "book/positions_book.h"

#include <QDebug>
#include <QFileInfo>

#include "book/position_list_model.h"
#include "positions/unsaved_positions.h"
#include "support/system_info.h"

PositionsBook::PositionsBook(QString programName, QObject *parent)
    : QObject(parent), m_programName(std::move(programName)), m_lines(new PositionListModel(this))
{
}

PositionsBook::~PositionsBook() = default;

QAbstractListModel *PositionsBook::lineModel() const
{
    return m_lines;
}

int PositionsBook::count() const
{
    return m_lines->rowCount();
}

QString PositionsBook::line(int row) const
{
    return m_lines->line(row);
}

QStringList PositionsBook::lines() const
{
    return m_lines->lines();
}

int PositionsBook::indexOf(const QString &text) const
{
    for (int row = 0; row < count(); ++row) {
        if (line(row) == text)
            return row;
    }
    return -1;
}

void PositionsBook::setLine(int row, const QString &text)
{
    m_lines->setLine(row, text);
}

void PositionsBook::replaceLines(const QStringList &lines)
{
    for (int row = 0; row < lines.size() && row < count(); ++row)
        m_lines->setLine(row, lines.at(row));
}

void PositionsBook::appendLine(const QString &text)
{
    m_lines->appendLine(text);
}

void PositionsBook::removeLine(int row)
{
    m_lines->removeLine(row);
}

void PositionsBook::load()
{
    const positions_file::LoadResult loaded = positions_file::load(DataDir);
    m_lines->setLines(loaded.lines);
    m_incompleteText = loaded.complete ? QString() : loaded.failureText();
    m_emptiedByUser = false;
    // A list that the end of a session could not save is pointed out at the next start, until
    // the positions file has been saved since.
    const QFileInfo unsaved(UnsavedPositionsPath(m_programName));
    const QFileInfo file(positions_file::fileName(DataDir));
    m_unsavedNotice.clear();
    if (unsaved.exists() && (!file.exists() || unsaved.lastModified() > file.lastModified()))
        m_unsavedNotice = QStringLiteral("Niet opgeslagen posities van een eerdere sessie staan in ")
                          + unsaved.filePath();
}

bool PositionsBook::hasListToWrite() const
{
    return count() > 0 || m_emptiedByUser;
}

positions_file::SaveResult PositionsBook::save()
{
    const positions_file::SaveResult result = positions_file::save(DataDir, lines(), m_emptiedByUser);
    if (result.saved)
        m_emptiedByUser = false;
    return result;
}

void PositionsBook::keepUnsaved(const QString &reason) const
{
    QString error;
    const QString path = UnsavedPositionsPath(m_programName);
    if (SaveUnsavedPositions(m_programName, lines(), &error))
        qWarning().noquote() << positions_file::saveFailureText(reason) + QStringLiteral("; bewaard in ") + path;
    else
        qWarning().noquote() << positions_file::saveFailureText(reason) + QStringLiteral("; ook niet in ") + path
                                    + QStringLiteral(": ") + error;
}

PortfolioInputs PositionsBook::figureInputs(const QDateTime &now) const
{
    PortfolioInputs inputs;
    inputs.positionLines = lines();
    inputs.indexLevel = m_pricingIndex.level;
    inputs.indexMoment = m_pricingIndex.moment;
    inputs.ratePercent = m_settings.ratePercent;
    inputs.dividendYieldPercent = m_settings.dividendYieldPercent;
    inputs.now = now;
    inputs.marginPercent = m_settings.marginPercent;
    inputs.quoteLines = m_quotes.lines();
    return inputs;
}

void PositionsBook::setSettings(const PortfolioSettings &settings)
{
    if (settings == m_settings)
        return;
    m_settings = settings;
    emit settingsChanged();
}

void PositionsBook::setStatusText(const QString &text)
{
    m_statusText = text;
    emit statusChanged(text);
}

void PositionsBook::setBusy(bool busy)
{
    emit busyChanged(busy);
}

void PositionsBook::pagesRead()
{
    emit pagesFetched();
}

void PositionsBook::pricesDownloaded()
{
    m_pricingIndex = {m_indexQuote.level(), m_indexQuote.moment};
    emit pricesUpdated();
}

void PositionsBook::showIndexQuote(const IndexQuoteResult &result)
{
    m_indexTexts = result;
    if (!m_pricingIndex.level)
        m_pricingIndex = {m_indexQuote.level(), m_indexQuote.moment};
    emit indexQuoteChanged(result);
}

void PositionsBook::journalWritten()
{
    emit journalChanged();
}
