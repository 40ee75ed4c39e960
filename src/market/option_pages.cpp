#include "market/option_pages.h"

#include "market/page_text.h"

#include <QByteArrayView>

#include <algorithm>

namespace {

constexpr QByteArrayView kStrikeHeading("Uitoef. prijs");
// Ends the opening tag of a price cell.
constexpr QByteArrayView kPriceCell("fBold price\">");

// The page is never copied while it is cut: m_pos marks where the remaining text begins.
class RowCutter
{
public:
    explicit RowCutter(const QByteArray &page) : m_page(page) {}

    // Adds one quote line per row and returns how many rows were recognised.
    int cut(QLatin1StringView prefix, QuoteList &koersList)
    {
        const qsizetype heading = m_page.indexOf(kStrikeHeading);
        if (heading < 0)
            return 0;
        m_pos = heading + kStrikeHeading.size();

        QStringList lines;
        for (;;) {
            const qsizetype dash = m_page.indexOf('-', m_pos);
            if (dash < 0)
                break;
            // An expiry cell reads dd-mm-yy: its first "-" is the third character.
            m_pos = std::max(m_pos, dash - 2);
            if (remaining() < 6 || m_page.at(m_pos + 5) != '-') {
                // A hyphen in other text: step over it and look again.
                m_pos = std::min(m_pos + 9, m_page.size());
                continue;
            }
            const QByteArrayView dayAndMonth = piece(m_pos, 6);
            const QByteArrayView year = piece(m_pos + 6, 2);

            QByteArrayView strike;
            QByteArrayView price;
            if (!nextPriceCell(&strike) || !nextPriceCell(&price))
                break;
            // Built in one piece: a page has thousands of rows.
            QString line;
            line.reserve(prefix.size() + dayAndMonth.size() + year.size() + strike.size()
                         + price.size() + 6);
            line += prefix;
            AppendPageText(line, dayAndMonth);
            line += QLatin1String("20");
            AppendPageText(line, year);
            line += QLatin1String("; ");
            AppendPageText(line, strike);
            line += QLatin1String("; ");
            AppendPageText(line, price);
            lines << std::move(line);
        }
        const int rows = int(lines.size());
        koersList.addAll(std::move(lines));
        return rows;
    }

private:
    qsizetype remaining() const { return m_page.size() - m_pos; }

    // At most `length` bytes from `from`, fewer at the end of the page.
    QByteArrayView piece(qsizetype from, qsizetype length) const
    {
        from = std::min(from, m_page.size());
        return m_page.sliced(from, std::min(length, m_page.size() - from));
    }

    // Moves behind the next price cell's opening tag and gives the cell's bytes up to the next
    // tag; the position stays at the start of that text.
    bool nextPriceCell(QByteArrayView *text)
    {
        const qsizetype marker = m_page.indexOf(kPriceCell, m_pos);
        if (marker < 0)
            return false;
        m_pos = marker + kPriceCell.size();
        const qsizetype end = nextTagStart();
        *text = piece(m_pos, (end < 0 ? m_pos : end) - m_pos);
        return true;
    }

    // The first "<" at or after the position. The last answer is remembered: the position only
    // moves forward, so a page whose tail holds no "<" is not searched again for every row.
    qsizetype nextTagStart()
    {
        if (m_tagSearchedFrom >= 0 && m_pos >= m_tagSearchedFrom
            && (m_tagFound < 0 || m_pos <= m_tagFound))
            return m_tagFound;
        m_tagSearchedFrom = m_pos;
        m_tagFound = m_page.indexOf('<', m_pos);
        return m_tagFound;
    }

    QByteArrayView m_page;
    qsizetype m_pos = 0;
    qsizetype m_tagSearchedFrom = -1;
    qsizetype m_tagFound = -1;
};

} // namespace

int ParseCalls(const QByteArray &page, QuoteList &koersList)
{
    koersList.clear();
    return RowCutter(page).cut(QLatin1StringView("AEX C; "), koersList);
}

int ParsePuts(const QByteArray &page, QuoteList &koersList)
{
    return RowCutter(page).cut(QLatin1StringView("AEX P; "), koersList);
}
