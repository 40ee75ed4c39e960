#include "market/option_pages.h"

#include "support/code_page.h"

#include <QByteArrayView>

#include <algorithm>
#include <cstring>

namespace {

constexpr QByteArrayView kStrikeHeading("Uitoef. prijs");
// An expiry cell's text: dd-mm-yy.
constexpr qsizetype kExpiryLength = 8;
// Ends the opening tag of a price cell.
constexpr QByteArrayView kPriceCell("fBold price\">");
// The marker's one capital. Capitals are rare in a page's markup, so looking for this byte
// alone and comparing the marker only where it stands passes over most of a page many times
// faster than a search for the whole marker.
constexpr qsizetype kPriceCellAnchor = 1;
static_assert(kPriceCell[kPriceCellAnchor] == 'B');

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

        int rows = 0;
        for (qsizetype row = findRow(heading + kStrikeHeading.size()); row >= 0;) {
            // A row's cells end where the next row's expiry cell begins: a row without its price
            // cell (a series not traded) must not take the next row's strike for its price.
            const qsizetype next = findRow(row + kExpiryLength);
            const qsizetype rowEnd = next < 0 ? m_page.size() : next;
            m_pos = row;
            QByteArrayView strike;
            QByteArrayView price;
            const bool hasStrike = nextPriceCell(rowEnd, &strike);
            const bool hasPrice = hasStrike && nextPriceCell(rowEnd, &price);
            // The page ends inside its last row: it was cut off there.
            if (next < 0 && !hasPrice)
                break;
            if (hasStrike) {
                stageLine(prefix, piece(row, 6), piece(row + 6, 2), strike, price, koersList);
                ++rows;
            }
            row = next;
        }
        koersList.addStaged();
        return rows;
    }

private:
    // Measured first and written in one piece, into the text of a line that the list dropped
    // when there is one: a page has thousands of rows. A missing price is written empty, as an
    // empty price cell reads.
    static void stageLine(QLatin1StringView prefix, QByteArrayView dayAndMonth, QByteArrayView year,
                          QByteArrayView strike, QByteArrayView price, QuoteList &koersList)
    {
        const QLatin1StringView century("20");
        const QLatin1StringView separator("; ");
        QString line = koersList.takeSpareText();
        line.resize(prefix.size() + dayAndMonth.size() + century.size() + year.size() + separator.size()
                    + strike.size() + separator.size() + price.size());
        char16_t *out = reinterpret_cast<char16_t *>(line.data());
        out = std::copy(prefix.begin(), prefix.end(), out);
        out = DecodeWindows1252(dayAndMonth, out);
        out = std::copy(century.begin(), century.end(), out);
        out = DecodeWindows1252(year, out);
        out = std::copy(separator.begin(), separator.end(), out);
        out = decodeCell(strike, out);
        out = std::copy(separator.begin(), separator.end(), out);
        decodeCell(price, out);
        koersList.stage(std::move(line));
    }

    // A cell's text as written, except that white space of any kind is a blank: a page laid out
    // over several lines, or with a fixed space behind its numbers, must give the same numbers,
    // and a quote line must stay one line when the add dialog puts its price into a position.
    static char16_t *decodeCell(QByteArrayView bytes, char16_t *out)
    {
        char16_t *const end = DecodeWindows1252(bytes, out);
        // Every character written again, white space or not: a loop without a branch, which the
        // compiler turns into vector instructions.
        for (char16_t *c = out; c != end; ++c)
            *c = (*c >= u'\t' && *c <= u'\r') || *c == u'\u00a0' ? u' ' : *c;
        return end;
    }

    // Where the next expiry cell at or after `from` starts; -1 when none does. An expiry cell
    // reads dd-mm-yy: its first "-" is the third character. A hyphen in other text is stepped
    // over, nine characters at a time.
    qsizetype findRow(qsizetype from) const
    {
        for (;;) {
            const qsizetype dash = find('-', from, m_page.size());
            if (dash < 0)
                return -1;
            const qsizetype start = std::max(from, dash - 2);
            if (m_page.size() - start >= 6 && m_page.at(start + 5) == '-')
                return start;
            from = std::min(start + 9, m_page.size());
        }
    }

    // At most `length` bytes from `from`, fewer at the end of the page.
    QByteArrayView piece(qsizetype from, qsizetype length) const
    {
        from = std::min(from, m_page.size());
        return m_page.sliced(from, std::min(length, m_page.size() - from));
    }

    // Moves behind the next price cell's opening tag that starts before `limit` and gives the
    // cell's bytes up to the next tag; the position stays at the start of that text. A cell
    // without a tag of its own before `limit` reads empty: were its text to run on to a tag far
    // down the page, every row's text would, and the lines of a page would grow with the square
    // of its size.
    bool nextPriceCell(qsizetype limit, QByteArrayView *text)
    {
        const qsizetype marker = findPriceCell(limit);
        if (marker < 0)
            return false;
        m_pos = marker + kPriceCell.size();
        const qsizetype end = nextTagStart();
        *text = piece(m_pos, (end < 0 || end > limit ? m_pos : end) - m_pos);
        return true;
    }

    // Where the first byte c at or after `from` and before `to` stands; -1 when none does. A few
    // searches run for every row, each over a short distance: memchr itself, without the set-up
    // of a search for a text.
    qsizetype find(char c, qsizetype from, qsizetype to) const
    {
        to = std::min(to, m_page.size());
        if (from >= to)
            return -1;
        const void *found = std::memchr(m_page.data() + from, c, size_t(to - from));
        return found ? static_cast<const char *>(found) - m_page.data() : -1;
    }

    // Where the first price cell marker at or after the position and before `limit` starts; -1
    // when none does.
    qsizetype findPriceCell(qsizetype limit) const
    {
        for (qsizetype from = m_pos + kPriceCellAnchor;;) {
            const qsizetype anchor = find(kPriceCell[kPriceCellAnchor], from, limit + kPriceCellAnchor);
            if (anchor < 0)
                return -1;
            const qsizetype start = anchor - kPriceCellAnchor;
            if (m_page.size() - start >= kPriceCell.size()
                && std::memcmp(m_page.data() + start, kPriceCell.data(), size_t(kPriceCell.size())) == 0)
                return start;
            from = anchor + 1;
        }
    }

    // The first "<" at or after the position. The last answer is remembered: the position only
    // moves forward, so a page whose tail holds no "<" is not searched again for every row.
    qsizetype nextTagStart()
    {
        if (m_tagSearchedFrom >= 0 && m_pos >= m_tagSearchedFrom
            && (m_tagFound < 0 || m_pos <= m_tagFound))
            return m_tagFound;
        m_tagSearchedFrom = m_pos;
        m_tagFound = find('<', m_pos, m_page.size());
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
