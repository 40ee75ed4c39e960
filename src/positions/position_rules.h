#pragma once
// Rules for the computed fields of a position line.

#include <QString>

// The money difference as the positions file stores it: two decimals, four significant digits
// for amounts below 10000 (as the file always held them), and every integer digit for larger
// amounts, so that the text never takes the exponent form, which would read back as 0.
QString DifferenceToStr(double value);
