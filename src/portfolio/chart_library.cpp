#include "portfolio/chart_library.h"

#include <QDir>
#include <QFile>

#include "platform/shared_library.h"
#include "support/product.h"

namespace chart_library {

namespace {

void *entryPoint(const QString &folder, const char *name, QString &error)
{
    const QString path = QDir(folder).filePath(QLatin1String(kChartLibraryFileName));
    // By its full path: a name alone would be looked for in the system's folders instead.
    void *library = os::openLibrary(QFile::encodeName(path).constData(), error);
    if (!library)
        return nullptr;
    return os::librarySymbol(library, name, error);
}

} // namespace

MakeHistoryChart openHistoryChart(const QString &folder, QString &error)
{
    return reinterpret_cast<MakeHistoryChart>(entryPoint(folder, kMakeHistoryChartName, error));
}

MakePayoffChart openPayoffChart(const QString &folder, QString &error)
{
    return reinterpret_cast<MakePayoffChart>(entryPoint(folder, kMakePayoffChartName, error));
}

} // namespace chart_library
