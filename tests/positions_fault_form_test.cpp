#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <cerrno>
#include <cstring>

#include "app/main_form.h"
#include "support/main_window_fixture.h"
#include "support/write_limit.h"

// What the user sees when the positions cannot be saved, and what the next start then finds.

namespace {
const QByteArray kPositions = "AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 1234,00; 0\r\n";
}

TEST(PositionsFaultWindow, FullDiskAtCloseSaysSoAndKeepsTheFile)
{
    MainWindowFixture fixture(kPositions);
    TMainForm *form = fixture.form();
    form->ListBox1->item(0)->setText("AEX; Put; mrt; 2013; 380; 12,34; 12,34; 2; 2468,00; 0");
    {
        WriteLimit disk(10);
        form->close();
    }
    EXPECT_EQ(form->Label1->text(),
              "Posities niet opgeslagen: " + QString::fromLocal8Bit(std::strerror(ENOSPC)));
    EXPECT_EQ(fixture.fileBytes("Regels.dat"), kPositions);
    EXPECT_TRUE(fixture.fileBytes("Regels!.dat").isNull()) << "no backup rotated for a failed save";

    // The list is still in the window, so the next close saves it.
    form->close();
    EXPECT_EQ(fixture.fileBytes("Regels.dat"),
              "AEX; Put; mrt; 2013; 380; 12,34; 12,34; 2; 2468,00; 0\r\n");
    EXPECT_EQ(fixture.fileBytes("Regels!.dat"), kPositions);
}
