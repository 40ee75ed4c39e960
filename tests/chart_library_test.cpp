#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QTemporaryDir>

#include "portfolio/chart_library.h"
#include "support/files.h"
#include "support/product.h"

namespace {

// Whether each of the library's entry points was found in the folder; the reasons in errors.
std::vector<bool> openBoth(const QString &folder, QStringList &errors)
{
    QString historyError, payoffError;
    const bool history = chart_library::openHistoryChart(folder, historyError);
    const bool payoff = chart_library::openPayoffChart(folder, payoffError);
    errors = {historyError, payoffError};
    return {history, payoff};
}

} // namespace

// The chart library beside the programs opens with both entry points; a folder without it, or
// with a file of its name that is no library, gives no chart and a reason that names the file.
TEST(ChartLibrary, OpensBesideTheProgramsOrSaysWhyNot)
{
    QStringList errors;
    EXPECT_EQ(openBoth(QStringLiteral(PELGRANDIX_BIN_DIR), errors), std::vector<bool>({true, true})) << errors.join("; ").toStdString();

    QTemporaryDir folder;
    const QString path = folder.filePath(QLatin1String(kChartLibraryFileName));
    for (const QByteArray &content : {QByteArray(), QByteArray("no library")}) {
        if (!content.isNull()) {
            ASSERT_TRUE(writeFile(path, content));
        }
        EXPECT_EQ(openBoth(folder.path(), errors), std::vector<bool>({false, false}));
        for (const QString &error : errors)
            EXPECT_TRUE(error.contains(path)) << error.toStdString();
    }
}
