#include "support/conversion_error.h"

#include "support/text_routines.h"

int StrToIntOrThrow(const QString &text)
{
    int value = 0;
    if (!ParseDecimalInt(text, &value))
        throw ConversionError::notAnInteger(text);
    return value;
}
