#include "positions/file_lines.h"

#include "support/code_page.h"

namespace positions_file {

QString FileLines::at(qsizetype i) const
{
    const Range &range = m_ranges.at(i);
    return Windows1252Text(QByteArrayView(m_bytes).sliced(range.start, range.length));
}

QStringList FileLines::toStringList() const
{
    QStringList texts;
    texts.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        texts << at(i);
    return texts;
}

bool operator==(const FileLines &lines, const QStringList &texts)
{
    if (lines.size() != texts.size())
        return false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i) != texts.at(i))
            return false;
    }
    return true;
}

} // namespace positions_file
