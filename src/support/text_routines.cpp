#include "support/text_routines.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// The old routines built their results in a 255-character buffer; callers rely on the bound.
constexpr int kShortTextLength = 255;

// A finite value as a string of 18 significant decimal digits and the position of the decimal
// point relative to the first of them (0.D1D2... x 10^pointPos). 18 digits is what the number
// formatter of the platform works with, so ties are decided on the same digits.
struct DecimalDigits {
    QByteArray digits;
    int pointPos = 0;
    bool negative = false;
};

DecimalDigits toDecimal(double value)
{
    DecimalDigits d;
    d.negative = std::signbit(value) && value != 0.0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17e", std::fabs(value));
    // buffer: D.DDDDDDDDDDDDDDDDDe[+-]XX
    const char *e = std::strchr(buffer, 'e');
    d.digits.append(buffer[0]);
    d.digits.append(buffer + 2, int(e - buffer - 2));
    d.pointPos = std::atoi(e + 1) + 1;
    if (value == 0.0)
        d.pointPos = 1;
    return d;
}

// Keeps the first `keep` digits, rounding half away from zero; a carry that runs past the
// first digit moves the decimal point. keep <= 0 leaves a single 0 or 1 digit.
void roundDigits(DecimalDigits &d, int keep)
{
    if (keep >= d.digits.size())
        return;
    if (keep < 0) {
        d.digits = "0";
        return;
    }
    const bool up = d.digits.at(keep) >= '5';
    d.digits.truncate(keep);
    if (!up) {
        if (d.digits.isEmpty())
            d.digits = "0";
        return;
    }
    int i = d.digits.size() - 1;
    while (i >= 0 && d.digits.at(i) == '9') {
        d.digits[i] = '0';
        --i;
    }
    if (i >= 0) {
        d.digits[i] = char(d.digits.at(i) + 1);
    } else {
        d.digits.prepend('1');
        d.pointPos += 1;
    }
}

bool allZero(const QByteArray &digits)
{
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
}

QString exponentForm(const DecimalDigits &value, int precision, int digits, QChar separator)
{
    DecimalDigits d = value;
    roundDigits(d, precision);
    QByteArray significant = d.digits;
    while (significant.size() > 1 && significant.endsWith('0'))
        significant.chop(1);
    QString text;
    if (d.negative)
        text += QLatin1Char('-');
    text += QLatin1Char(significant.at(0));
    if (significant.size() > 1) {
        text += separator;
        text += QString::fromLatin1(significant.mid(1));
    }
    const int exponent = d.pointPos - 1;
    text += QLatin1Char('E');
    if (exponent < 0)
        text += QLatin1Char('-');
    const int width = digits <= 4 ? digits : 0;
    text += QStringLiteral("%1").arg(std::abs(exponent), width, 10, QLatin1Char('0'));
    return text;
}

} // namespace

QString IntToStrZ2(int n)
{
    if (n < 10)
        return QLatin1Char('0') + QString::number(n);
    return QString::number(n);
}

QString RealToStr(double value, int precision, int digits)
{
    precision = std::clamp(precision, 2, 18);
    digits = std::clamp(digits, 0, 18);
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    const QChar separator = QLocale().decimalPoint().at(0);
    const DecimalDigits exact = toDecimal(value);

    // Whether the value has more integer digits than the precision is decided on the value
    // rounded to the precision; the fixed form then rounds once, to whichever of the two limits
    // keeps fewer digits.
    DecimalDigits byPrecision = exact;
    roundDigits(byPrecision, precision);
    if (byPrecision.pointPos > precision && !allZero(byPrecision.digits))
        return exponentForm(exact, precision, digits, separator);

    DecimalDigits d = exact;
    roundDigits(d, std::min(precision, d.pointPos + digits));
    if (allZero(d.digits))
        d.negative = false;

    QString integerPart;
    QString fraction;
    for (int i = 0; i < d.pointPos; ++i)
        integerPart += QLatin1Char(i < d.digits.size() ? d.digits.at(i) : '0');
    if (integerPart.isEmpty())
        integerPart = QStringLiteral("0");
    for (int i = 0; i < digits; ++i) {
        const int index = d.pointPos + i;
        fraction += QLatin1Char(index >= 0 && index < d.digits.size() ? d.digits.at(index) : '0');
    }
    QString text = d.negative ? QStringLiteral("-") : QString();
    text += integerPart;
    if (digits > 0)
        text += separator + fraction;
    return text;
}

double StrToReal(const QString &s)
{
    QString text = UnSpace(s);
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma >= 0)
        text[comma] = QLatin1Char('.');
    if (text.isEmpty())
        text = QStringLiteral("0.0");
    for (QChar c : text) {
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('-') && c != QLatin1Char('.'))
            return 0;
    }
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        text += QLatin1Char('.');
    if (text.indexOf(QLatin1Char('.')) == 0)
        text.prepend(QLatin1Char('0'));
    if (text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('0');

    // Well formed: an optional leading minus, digits, one point, digits. Anything else yields
    // the digits met before the first character that breaks that shape, as one whole number.
    qsizetype i = 0;
    if (text.at(0) == QLatin1Char('-'))
        ++i;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (c.isDigit())
            continue;
        break;
    }
    if (i == text.size())
        return text.toDouble();
    double whole = 0;
    for (qsizetype j = 0; j < i; ++j) {
        if (text.at(j).isDigit())
            whole = whole * 10 + text.at(j).digitValue();
    }
    return whole;
}

QString RightOf(QChar ch, const QString &s)
{
    const qsizetype pos = s.indexOf(ch);
    return pos < 0 ? QString() : s.mid(pos + 1);
}

QString LeftOf(QChar ch, const QString &s)
{
    const qsizetype pos = s.indexOf(ch);
    return pos < 0 ? QString() : s.left(pos);
}

QString RightOfLast(QChar ch, const QString &s)
{
    const qsizetype pos = s.lastIndexOf(ch);
    return pos < 0 ? QString() : s.mid(pos + 1, kShortTextLength);
}

QString LeftOfLast(QChar ch, const QString &s)
{
    const qsizetype pos = s.lastIndexOf(ch);
    return pos < 0 ? QString() : s.left(pos);
}

QString UnNumber(const QString &s)
{
    QString result;
    for (QChar c : s) {
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            result += c;
    }
    return result.left(kShortTextLength);
}

QString UnAlpha(const QString &s)
{
    QString result;
    for (QChar c : s) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            result += c;
    }
    return result.left(kShortTextLength);
}

QString UnSpace(const QString &s)
{
    QString result = s;
    result.remove(QLatin1Char(' '));
    return result;
}

QString UnBeginSpace(const QString &s)
{
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}

bool ParseDecimalInt(const QString &s, int *value)
{
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == QLatin1Char(' '))
        ++i;
    bool ok = false;
    const QStringView rest = QStringView(s).mid(i);
    if (rest.isEmpty() || rest.at(0) == QLatin1Char(' '))
        return false;
    for (qsizetype j = 0; j < rest.size(); ++j) {
        const QChar c = rest.at(j);
        const bool sign = j == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'));
        if (!sign && !(c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            return false;
    }
    const int parsed = rest.toInt(&ok, 10);
    if (ok && value)
        *value = parsed;
    return ok;
}
