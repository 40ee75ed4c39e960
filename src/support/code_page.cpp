#include "support/code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

namespace {

// Windows-1252 is a single-byte code page without state, so the decoder's answer for each of
// the 256 byte values is all there is to it: asked once, it turns short cuts of a page into text
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

char16_t *DecodeWindows1252(QByteArrayView bytes, char16_t *out)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    // The code page is ASCII below 0x80, and the texts it holds here are nearly all ASCII: they
    // are widened as they are, in a loop the compiler turns into vector instructions, and only
    // the bytes from 0x80 up are looked up afterwards.
    unsigned char any = 0;
    for (qsizetype i = 0; i < size; ++i) {
        out[i] = in[i];
        any |= in[i];
    }
    if (any & 0x80) {
        const std::array<char16_t, 256> &codes = table();
        for (qsizetype i = 0; i < size; ++i) {
            if (in[i] & 0x80)
                out[i] = codes[in[i]];
        }
    }
    return out + size;
}

QString Windows1252Text(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    DecodeWindows1252(bytes, reinterpret_cast<char16_t *>(text.data()));
    return text;
}

QByteArray Windows1252Bytes(QStringView text)
{
    QStringEncoder encoder("Windows-1252");
    return encoder.encode(text);
}

QByteArray Windows1252Bytes(const QStringList &texts, QByteArrayView ending)
{
    QStringEncoder encoder("Windows-1252");
    QByteArray bytes;
    for (const QString &text : texts) {
        bytes += encoder.encode(text);
        bytes += ending;
    }
    return bytes;
}
