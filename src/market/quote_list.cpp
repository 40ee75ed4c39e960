#include "market/quote_list.h"

#include <algorithm>

QuoteList::QuoteList()
    : m_collator(QLocale())
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

void QuoteList::add(const QString &line)
{
    const auto position = std::lower_bound(m_lines.begin(), m_lines.end(), line,
                                           [this](const QString &a, const QString &b) {
                                               return m_collator.compare(a, b) < 0;
                                           });
    if (position != m_lines.end() && m_collator.compare(*position, line) == 0)
        return;
    m_lines.insert(position, line);
}
