#include "support/text_routines.h"

#include "support/held_locale.h"

#include <QLocale>
#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// The old routines built their results in a 255-character buffer; callers rely on the bound.
constexpr int kShortTextLength = 255;

// Up to 19 decimal digits, kept on the stack: RealToStr runs for every price of a download.
class DigitString
{
public:
    int size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    char at(int i) const { return m_data[i]; }
    char &operator[](int i) { return m_data[i]; }
    const char *begin() const { return m_data; }
    const char *end() const { return m_data + m_size; }
    void append(const char *from, int count)
    {
        std::memcpy(m_data + m_size, from, size_t(count));
        m_size += count;
    }
    void truncate(int size) { m_size = std::min(m_size, size); }
    void assign(char digit)
    {
        m_data[0] = digit;
        m_size = 1;
    }
    void prepend(char digit)
    {
        std::memmove(m_data + 1, m_data, size_t(m_size));
        m_data[0] = digit;
        ++m_size;
    }

private:
    char m_data[20];
    int m_size = 0;
};

// A finite value as a string of 18 significant decimal digits and the position of the decimal
// point relative to the first of them (0.D1D2... x 10^pointPos). 18 digits is what the number
// formatter of the platform works with, so ties are decided on the same digits.
struct DecimalDigits {
    DigitString digits;
    int pointPos = 0;
    bool negative = false;
};

DecimalDigits toDecimal(double value)
{
    DecimalDigits d;
    d.negative = std::signbit(value) && value != 0.0;
    // The standard library's conversion at a given precision gives the same correctly rounded
    // digits as printf("%.17e"), at a fraction of its cost.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer - 1, std::fabs(value),
                                       std::chars_format::scientific, 17);
    *written.ptr = '\0';
    // buffer: D.DDDDDDDDDDDDDDDDDe[+-]XX
    const char *e = std::strchr(buffer, 'e');
    d.digits.append(buffer, 1);
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
        d.digits.assign('0');
        return;
    }
    const bool up = d.digits.at(keep) >= '5';
    d.digits.truncate(keep);
    if (!up) {
        if (d.digits.isEmpty())
            d.digits.assign('0');
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

bool allZero(const DigitString &digits)
{
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
}

QString exponentForm(const DecimalDigits &value, int precision, int digits, QChar separator)
{
    DecimalDigits d = value;
    roundDigits(d, precision);
    DigitString significant = d.digits;
    while (significant.size() > 1 && significant.at(significant.size() - 1) == '0')
        significant.truncate(significant.size() - 1);
    QString text;
    if (d.negative)
        text += QLatin1Char('-');
    text += QLatin1Char(significant.at(0));
    if (significant.size() > 1) {
        text += separator;
        text += QLatin1String(significant.begin() + 1, significant.end());
    }
    const int exponent = d.pointPos - 1;
    text += QLatin1Char('E');
    if (exponent < 0)
        text += QLatin1Char('-');
    const int width = digits <= 4 ? digits : 0;
    text += QStringLiteral("%1").arg(std::abs(exponent), width, 10, QLatin1Char('0'));
    return text;
}

// The powers of ten that a double holds exactly.
constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A character of a number's text as StrToReal reads it: the first comma stands for a point. A
// blank is given back as it is, for the caller to leave out.
char16_t numberCharacter(QChar c, bool *sawComma)
{
    const char16_t u = c.unicode();
    if (u == u',' && !*sawComma) {
        *sawComma = true;
        return u'.';
    }
    return u;
}

// RealToStr's fixed form worked out on the value itself, for the values that prices, strikes
// and amounts take: the long way through 18 decimal digits is what the numbers of a download
// spend most of their time on. Writes the text and returns its length, or returns 0 where the
// short way could round otherwise than the digits do: a value too large, too small, in the
// exponent form or rounded up into it, close to a power of ten below 1 (where its digits may
// begin a place earlier), or one whose part beyond the kept digits is too close to one half.
int writeFixedQuickly(double value, int precision, int digits, QChar separator, char16_t *text)
{
    static constexpr double kSmallPowers[] = {1e-1, 1e-2, 1e-3, 1e-4, 1e-5};
    const double magnitude = std::fabs(value);
    // Beyond 14 kept digits the value and its 18 digits could round apart.
    if (precision > 14 || !(magnitude < kPowers[precision])
        || (magnitude < kSmallPowers[4] && value != 0))
        return 0;
    // The decimal point's place: 10^(point-1) <= magnitude < 10^point.
    int point = 1;
    if (magnitude >= 1) {
        while (magnitude >= kPowers[point])
            ++point;
    } else if (value != 0) {
        point = 0;
        while (magnitude < kSmallPowers[-point])
            --point;
        const double below = kSmallPowers[-point];
        const double above = point == 0 ? 1.0 : kSmallPowers[-point - 1];
        if (magnitude - below < below * 1e-14 || above - magnitude < above * 1e-14)
            return 0;
    }
    // The value in units of its last kept digit, as whole units and a rest. The product is
    // within a unit of its last bit of the exact one, and the 18 digits within half a unit of
    // their last digit of the value (at most 1e-4 of a kept unit): a rest further than both from
    // one half rounds the same way for all three.
    const int decimals = std::min(digits, precision - point);
    const double scaled = magnitude * kPowers[decimals];
    const double whole = std::floor(scaled);
    const double rest = scaled - whole;
    if (std::fabs(rest - 0.5) <= 1e-4 + scaled * 2.3e-16)
        return 0;
    const auto units = std::uint64_t(whole) + (rest > 0.5 ? 1 : 0);
    if (point == precision && double(units) == kPowers[precision])
        return 0;

    char written[24];
    const int shown = int(std::to_chars(written, std::end(written), units).ptr - written);
    const int integerDigits = shown - decimals;
    int length = 0;
    if (units != 0 && value < 0)
        text[length++] = u'-';
    if (integerDigits <= 0)
        text[length++] = u'0';
    for (int i = 0; i < integerDigits; ++i)
        text[length++] = char16_t(written[i]);
    if (digits > 0) {
        text[length++] = separator.unicode();
        for (int i = integerDigits; i < 0; ++i)
            text[length++] = u'0';
        for (int i = std::max(0, integerDigits); i < shown; ++i)
            text[length++] = char16_t(written[i]);
        for (int i = decimals; i < digits; ++i)
            text[length++] = u'0';
    }
    return length;
}

// The decimal comma of a locale that writes one, and a point for every other: a sign of its own
// (U+066B in Arabic and Persian) would make the numbers of a line read as 0, and the files' code
// page cannot hold it.
QChar decimalPointOf(const QLocale &locale)
{
    return locale.decimalPoint() == QLatin1String(",") ? u',' : u'.';
}

// The decimal separator of the default locale, asked again only when that locale changed.
QChar localeDecimalPoint()
{
    thread_local QLocale locale;
    thread_local QChar point = decimalPointOf(locale);
    thread_local unsigned askedUnder = 0;
    if (HeldLocale::mustAsk(askedUnder) && !(locale == QLocale())) {
        locale = QLocale();
        point = decimalPointOf(locale);
    }
    return point;
}

// StrToReal in one pass, for the well-formed numbers of up to 15 digits that prices and amounts
// are: their digits as a whole number and the power of ten of their decimals are both held
// exactly by a double, and one division rounds as the standard conversion does. Returns false
// for any other text, which StrToReal reads the long way.
bool readRealQuickly(QStringView s, double *value)
{
    constexpr std::uint64_t kExact = std::uint64_t(1) << 53;
    std::uint64_t whole = 0;
    int decimals = -1;
    bool negative = false;
    bool sawComma = false;
    bool sawAny = false;
    for (const QChar c : s) {
        const char16_t u = numberCharacter(c, &sawComma);
        if (u == u' ')
            continue;
        if (u >= u'0' && u <= u'9') {
            whole = whole * 10 + (u - u'0');
            decimals += decimals >= 0;
            if (whole >= kExact || decimals > 22)
                return false;
        } else if (u == u'.' && decimals < 0) {
            decimals = 0;
        } else if (u == u'-' && !sawAny) {
            negative = true;
        } else {
            return false;
        }
        sawAny = true;
    }
    if (!sawAny)
        return false;
    const double magnitude = double(whole) / kPowers[std::max(decimals, 0)];
    *value = negative ? -magnitude : magnitude;
    return true;
}

} // namespace

char16_t *WriteDecimal(qint64 n, char16_t *out)
{
    char digits[24];
    const char *end = std::to_chars(digits, std::end(digits), n).ptr;
    return std::copy(static_cast<const char *>(digits), end, out);
}

char16_t *WriteIntToStrZ2(int n, char16_t *out)
{
    if (n < 10)
        *out++ = u'0';
    return WriteDecimal(n, out);
}

QString IntToStrZ2(int n)
{
    char16_t text[16];
    const char16_t *end = WriteIntToStrZ2(n, text);
    return QString(reinterpret_cast<const QChar *>(text), end - text);
}

QString RealToStr(double value, int precision, int digits)
{
    return RealToStr(value, precision, digits, localeDecimalPoint());
}

QString RealToStr(double value, int precision, int digits, QChar separator)
{
    precision = std::clamp(precision, 2, 18);
    digits = std::clamp(digits, 0, 18);
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    // At most a sign, 18 integer digits, the separator and 18 decimals.
    char16_t text[40];
    if (const int length = writeFixedQuickly(value, precision, digits, separator, text))
        return QString(reinterpret_cast<const QChar *>(text), length);
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

    const auto digitAt = [&d](int index) {
        return char16_t(index >= 0 && index < d.digits.size() ? d.digits.at(index) : '0');
    };
    int length = 0;
    if (d.negative)
        text[length++] = u'-';
    if (d.pointPos <= 0)
        text[length++] = u'0';
    for (int i = 0; i < d.pointPos; ++i)
        text[length++] = digitAt(i);
    if (digits > 0) {
        text[length++] = separator.unicode();
        for (int i = 0; i < digits; ++i)
            text[length++] = digitAt(d.pointPos + i);
    }
    return QString(reinterpret_cast<const QChar *>(text), length);
}

double StrToReal(QStringView s)
{
    double value = 0;
    if (readRealQuickly(s, &value))
        return value;
    // The text without blanks and with its first comma as a point, as bytes: anything but
    // digits, "-" and "." makes it unreadable.
    QVarLengthArray<char, 64> text;
    bool sawComma = false;
    for (const QChar c : s) {
        const char16_t u = numberCharacter(c, &sawComma);
        if (u == u' ')
            continue;
        if (!((u >= u'0' && u <= u'9') || u == u'-' || u == u'.'))
            return 0;
        text.append(char(u));
    }
    if (text.isEmpty())
        return 0;
    const char *point = std::find(text.begin(), text.end(), '.');
    if (point == text.end())
        text.append('.');
    if (text.front() == '.')
        text.insert(text.begin(), '0');
    if (text.back() == '.')
        text.append('0');

    // Well formed: an optional leading minus, digits, one point, digits. Anything else yields
    // the digits met before the first character that breaks that shape, as one whole number.
    qsizetype i = text.front() == '-' ? 1 : 0;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (c >= '0' && c <= '9')
            continue;
        break;
    }
    if (i == text.size()) {
        const auto [end, error] = std::from_chars(text.begin(), text.end(), value);
        if (error == std::errc() && end == text.end())
            return value;
        // Beyond the range of a double: the standard conversion's answer (infinity or 0).
        return QString::fromLatin1(text.data(), text.size()).toDouble();
    }
    double whole = 0;
    for (qsizetype j = 0; j < i; ++j) {
        if (text[j] >= '0' && text[j] <= '9')
            whole = whole * 10 + (text[j] - '0');
    }
    return whole;
}

namespace {

// The value, or 0 for one that rounds to zero at that many decimals, so that no "-0,00" is written.
double withoutNegativeZero(double value, int decimals)
{
    return std::round(value * std::pow(10.0, decimals)) == 0 ? 0.0 : value;
}

} // namespace

QString LocaleFixedText(double value, int decimals, const QLocale &locale)
{
    return locale.toString(withoutNegativeZero(value, decimals), 'f', decimals);
}

QString FixedText(double value, int decimals)
{
    // Plain digits and "-": some locales write a minus sign of their own (U+2212 in Swedish,
    // Finnish and Norwegian) or digits of their own, which StrToReal would read as 0, and which
    // the files' code page cannot hold.
    QString text = QString::number(withoutNegativeZero(value, decimals), 'f', decimals);
    text.replace(u'.', localeDecimalPoint());
    return text;
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
    return RightOfLast(ch, QStringView(s)).toString();
}

QStringView RightOfLast(QChar ch, QStringView s)
{
    const qsizetype pos = s.lastIndexOf(ch);
    return pos < 0 ? QStringView() : s.sliced(pos + 1).left(kShortTextLength);
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
    return UnBeginSpace(QStringView(s)).toString();
}


bool ParseDecimalInt(QStringView s, int *value)
{
    const QStringView rest = UnBeginSpace(s);
    if (rest.isEmpty())
        return false;
    // Worked out digit by digit rather than by the general conversion: the portfolio overview
    // reads three of these for every position each time it follows a change.
    const bool negative = rest.at(0) == QLatin1Char('-');
    const qsizetype first = negative || rest.at(0) == QLatin1Char('+') ? 1 : 0;
    if (first == rest.size())
        return false;
    constexpr qint64 kLimit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 magnitude = 0;
    for (qsizetype j = first; j < rest.size(); ++j) {
        const char16_t c = rest.at(j).unicode();
        if (c < u'0' || c > u'9')
            return false;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > kLimit)
            return false;
    }
    if (!negative && magnitude == kLimit)
        return false;
    if (value)
        *value = int(negative ? -magnitude : magnitude);
    return true;
}

QString ShownText(const QString &text)
{
    return text.size() > kLongestShownText ? text.left(kLongestShownText) + QChar(0x2026) : text;
}
