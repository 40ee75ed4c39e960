#pragma once
// Downloaded pages and the positions file are 8-bit text in the Windows-1252 code page.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Writes the text of bytes to out, one character for each byte, and returns the end of what it
// wrote: out must have room for bytes.size() characters.
char16_t *DecodeWindows1252(QByteArrayView bytes, char16_t *out);
QString Windows1252Text(QByteArrayView bytes);
// The bytes of a text in the code page, each text encoded on its own.
QByteArray Windows1252Bytes(QStringView text);
// The bytes of texts one after another, each followed by `ending`, encoded by one converter:
// opening the converter costs more than encoding a short line.
QByteArray Windows1252Bytes(const QStringList &texts, QByteArrayView ending);
