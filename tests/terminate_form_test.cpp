#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/wait_until.h"
#include "update/terminate_form.h"
#include "update/update_error.h"

TEST(TerminateForm, NeverShownHolderThatFindsAndEndsAProgramByItsPath)
{
    TTerminateForm form;
    EXPECT_EQ(TerminateForm, &form);
    EXPECT_EQ(form.windowTitle(), "TerminateForm");
    EXPECT_EQ(form.size(), QSize(203, 108));
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(TerminateForm->WindowsIsNT());

    QTemporaryDir dir;
    const QString program = dir.filePath("Pelgrandix_Sched.exe");
    ASSERT_TRUE(QFile::copy("/bin/sleep", program));
    QProcess run;
    run.start(program, {"60"});
    ASSERT_TRUE(run.waitForStarted());

    EXPECT_EQ(TerminateForm->GetpID(program), run.processId());
    TerminateForm->TerminateExe(program);
    EXPECT_TRUE(run.waitForFinished(kPatienceMs));
    EXPECT_EQ(TerminateForm->GetProcessHandleFromExeNT(program), 0);
    try {
        TerminateForm->TerminateExe(program);
        ADD_FAILURE() << "no error raised";
    } catch (const UpdateError &error) {
        EXPECT_EQ(error.message(), program + " is not running, cannot terminate it!");
    }
}
