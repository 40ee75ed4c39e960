#include "portfolio/history_chart_library.h"

#include <QDir>
#include <QFile>

#include "platform/shared_library.h"
#include "support/product.h"

namespace history_chart_library {

MakeHistoryChart open(const QString &folder, QString &error)
{
    const QString path = QDir(folder).filePath(QLatin1String(kChartLibraryFileName));
    // By its full path: a name alone would be looked for in the system's folders instead.
    void *library = os::openLibrary(QFile::encodeName(path).constData(), error);
    if (!library)
        return nullptr;
    return reinterpret_cast<MakeHistoryChart>(os::librarySymbol(library, kMakeHistoryChartName, error));
}

} // namespace history_chart_library
