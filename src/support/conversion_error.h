#pragma once
// A text that cannot be converted (a count, a year, a date, a field of a downloaded list) ends
// the running event handler: the handler catches this at its boundary and shows the failure in
// a critical message box. Whatever the handler changed before the failure stays.

#include <QString>

#include <stdexcept>

class ConversionError : public std::runtime_error
{
public:
    explicit ConversionError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

    // The message of the standard conversion failure for a text that is no whole number.
    static ConversionError notAnInteger(const QString &text)
    {
        return ConversionError(QStringLiteral("'%1' is geen geldige integerwaarde").arg(text));
    }

private:
    QString m_message;
};

// Reads a whole number as the standard conversion does, or throws ConversionError.
int StrToIntOrThrow(const QString &text);
