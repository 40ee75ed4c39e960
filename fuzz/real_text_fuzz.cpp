// Numbers read from text and written as text. The input is used three ways: as a text to read
// (bytes as Windows-1252), as the raw bits of a double, and for the precision and decimals of
// the written form. A value written in the fixed form and read back must be the value within
// the rounding that the precision and decimals allow.

#include "fuzz_support.h"

#include "market/page_text.h"
#include "support/text_routines.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// The written form of a finite value: fixed with exactly `digits` decimals, or the exponent form.
void checkWritten(double value, int precision, int digits)
{
    const QString text = RealToStr(value, precision, digits);
    const int p = std::clamp(precision, 2, 18);
    const int d = std::clamp(digits, 0, 18);
    const QString detail = QStringLiteral("%1 (%2, %3) -> %4")
                               .arg(value, 0, 'g', 17).arg(precision).arg(digits).arg(text);

    if (text.contains(QLatin1Char('E'))) {
        static const QRegularExpression exponent(QStringLiteral("^-?[1-9](,\\d*[1-9])?E-?\\d+$"));
        FUZZ_CHECK(exponent.match(text).hasMatch(), detail);
        // Only values with more integer digits than the precision take this form.
        FUZZ_CHECK(std::fabs(value) >= std::pow(10.0, p) * (1 - 0.5 * std::pow(10.0, -p)) * (1 - 1e-12),
                   detail);
        // The mantissa has at most `precision` digits.
        const QString mantissa = text.left(text.indexOf(QLatin1Char('E')));
        FUZZ_CHECK(UnAlpha(mantissa).size() <= p, detail);
        return;
    }

    static QRegularExpression fixed[19];
    QRegularExpression &shape = fixed[d];
    if (shape.pattern().isEmpty())
        shape.setPattern(d == 0 ? QStringLiteral("^-?\\d+$")
                                : QStringLiteral("^-?\\d+,\\d{%1}$").arg(d));
    FUZZ_CHECK(shape.match(text).hasMatch(), detail);
    // No more integer digits than the precision, and no leading zero before other digits.
    const QString integer = text.section(QLatin1Char(','), 0, 0).remove(QLatin1Char('-'));
    FUZZ_CHECK(integer.size() <= p, detail);
    FUZZ_CHECK(integer.size() == 1 || !integer.startsWith(QLatin1Char('0')), detail);
    FUZZ_CHECK(!text.startsWith(QLatin1Char('-')) || text.contains(QRegularExpression(QStringLiteral("[1-9]"))),
               detail);

    // Read back within rounding: half a unit of the last decimal or of the last significant
    // digit, whichever is coarser, plus what a double cannot hold.
    const double back = StrToReal(text);
    const double magnitude = value == 0 ? 0 : std::floor(std::log10(std::fabs(value))) + 1;
    const double tolerance = std::max(0.5 * std::pow(10.0, -d), 0.5 * std::pow(10.0, magnitude - p))
            * (1 + 1e-9)
        + 4 * std::numeric_limits<double>::epsilon() * std::fabs(value);
    FUZZ_CHECK(std::fabs(back - value) <= tolerance,
               detail + QStringLiteral(" read back as %1").arg(back, 0, 'g', 17));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    UseDutchLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const int precision = data[0] % 24;
    const int digits = data[1] % 24;

    // Any text reads as some number; a text of blanks, digits, one point or comma and a leading
    // minus reads as the number it writes.
    const QString text = PageText(QByteArrayView(reinterpret_cast<const char *>(data + 2),
                                                 qsizetype(size - 2)));
    const double read = StrToReal(text);
    FUZZ_CHECK(!std::isnan(read), text);
    static const QRegularExpression plain(QStringLiteral("\\A *-?[ 0-9]*[.,]?[ 0-9]* *\\z"));
    if (plain.match(text).hasMatch() && UnSpace(text).size() < 300) {
        QString c = UnSpace(text);
        c.replace(QLatin1Char(','), QLatin1Char('.'));
        if (c == QLatin1String("-") || c == QLatin1String(".") || c == QLatin1String("-.")
            || c.isEmpty())
            c = QStringLiteral("0");
        bool ok = false;
        const double expected = QByteArray((c.startsWith('.') ? "0" : "") + c.toLatin1()).toDouble(&ok);
        if (ok && !c.startsWith(QLatin1String("-.")))
            FUZZ_CHECK(read == expected, text + QStringLiteral(" read as %1").arg(read, 0, 'g', 17));
    }
    if (std::isfinite(read))
        checkWritten(read, precision, digits);

    if (size >= 2 + sizeof(double)) {
        double bits;
        std::memcpy(&bits, data + 2, sizeof bits);
        if (std::isfinite(bits))
            checkWritten(bits, precision, digits);
        else
            FUZZ_CHECK(!RealToStr(bits, precision, digits).isEmpty(), text);
    }
    return 0;
}
