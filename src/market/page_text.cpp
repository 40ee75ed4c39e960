#include "market/page_text.h"

#include <QStringDecoder>

QString PageText(QByteArrayView bytes)
{
    // Opening a decoder by name costs far more than decoding a short cut, and a single-byte code
    // page carries no state from one call to the next, so one decoder serves every call.
    thread_local QStringDecoder decoder("Windows-1252");
    return decoder.decode(bytes);
}
