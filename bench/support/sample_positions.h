#pragma once
// Position lines as the program writes them, varied in every field, for benchmarks.

#include <QStringList>

namespace bench {

QStringList samplePositionLines(int count);

} // namespace bench
