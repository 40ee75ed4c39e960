#include "market/page_text.h"

#include <QStringDecoder>

#include <array>

namespace {

// Windows-1252 is a single-byte code page without state, so the decoder's answer for each of
// the 256 byte values is all there is to it: asked once, it turns a page's short cuts into text
// without opening a converter for every cut.
std::array<char16_t, 256> decodingTable()
{
    std::array<char16_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        // Each byte on its own, so that a byte the code page leaves undefined cannot shift the
        // answers for the others.
        QStringDecoder decoder("Windows-1252");
        const QString text = decoder.decode(QByteArrayView(QByteArray(1, char(i))));
        table[size_t(i)] = text.size() == 1 ? text.at(0).unicode() : char16_t(QChar::ReplacementCharacter);
    }
    return table;
}

const std::array<char16_t, 256> &table()
{
    static const std::array<char16_t, 256> table = decodingTable();
    return table;
}

} // namespace

QString PageText(QByteArrayView bytes)
{
    QString text;
    AppendPageText(text, bytes);
    return text;
}

void AppendPageText(QString &text, QByteArrayView bytes)
{
    const std::array<char16_t, 256> &codes = table();
    const qsizetype start = text.size();
    text.resize(start + bytes.size());
    char16_t *out = reinterpret_cast<char16_t *>(text.data()) + start;
    for (const char byte : bytes)
        *out++ = codes[static_cast<unsigned char>(byte)];
}
