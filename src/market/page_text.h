#pragma once
// Downloaded pages are 8-bit text in the Windows-1252 code page.

#include <QByteArrayView>
#include <QString>

QString PageText(QByteArrayView bytes);
// Appends the text of bytes to text.
void AppendPageText(QString &text, QByteArrayView bytes);
