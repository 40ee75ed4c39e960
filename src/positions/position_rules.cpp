#include "positions/position_rules.h"

#include "support/text_routines.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxPrecision = 18;

int integerDigits(double value)
{
    int digits = 1;
    for (double rest = std::fabs(value); rest >= 10 && digits < kMaxPrecision; rest /= 10)
        ++digits;
    return digits;
}

} // namespace

QString DifferenceToStr(double value)
{
    QString text;
    // Rounding to the precision can carry into one more integer digit (9999.6 to four digits
    // is 10000), which would again give the exponent form: then one more digit is kept.
    for (int precision = std::max(4, integerDigits(value)); precision <= kMaxPrecision;
         ++precision) {
        text = RealToStr(value, precision, 2);
        if (!text.contains(QLatin1Char('E')))
            break;
    }
    return text;
}
