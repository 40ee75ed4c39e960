#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QTemporaryDir>

#include "portfolio/history_chart_library.h"
#include "support/files.h"
#include "support/product.h"

// The chart library beside the programs opens with its entry point; a folder without it, or
// with a file of its name that is no library, gives no chart and a reason that names the file.
TEST(HistoryChartLibrary, OpensBesideTheProgramsOrSaysWhyNot)
{
    QString error;
    EXPECT_TRUE(history_chart_library::open(QStringLiteral(PELGRANDIX_BIN_DIR), error)) << error.toStdString();

    QTemporaryDir folder;
    const QString path = folder.filePath(QLatin1String(kChartLibraryFileName));
    for (const QByteArray &content : {QByteArray(), QByteArray("no library")}) {
        if (!content.isNull()) {
            ASSERT_TRUE(writeFile(path, content));
        }
        error.clear();
        EXPECT_FALSE(history_chart_library::open(folder.path(), error));
        EXPECT_TRUE(error.contains(path)) << error.toStdString();
    }
}
