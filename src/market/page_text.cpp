#include "market/page_text.h"

#include "support/code_page.h"

QString PageText(QByteArrayView bytes)
{
    return Windows1252Text(bytes);
}

void AppendPageText(QString &text, QByteArrayView bytes)
{
    const qsizetype start = text.size();
    text.resize(start + bytes.size());
    DecodeWindows1252(bytes, reinterpret_cast<char16_t *>(text.data()) + start);
}
