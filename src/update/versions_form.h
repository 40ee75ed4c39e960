#pragma once
// The update window: tells the outcome of an update check, downloads the advised installer with
// a gauge of its progress, and starts it before the program ends so that the installer can
// replace the program's files. Other windows reach it through the global VersionsForm.

#include <QFrame>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>

#include "market/shell_command.h"
#include "support/program_identity.h"
#include "update/program_closer.h"

class TVersionsForm : public QWidget
{
    Q_OBJECT
public:
    TVersionsForm(const ProgramIdentity &identity, ProgramCloser &program, QWidget *parent = nullptr);
    ~TVersionsForm() override;

    // True from the creation until the first paint.
    bool FirstB = true;

    QTextEdit *Memo1;
    QFrame *Panel1;
    QProgressBar *Gauge1;
    QPushButton *DownloadBtn;
    QPushButton *ExitBtn;

    // The silent check: the window shows only when a newer release is advised.
    void UpdateStealth(const QString &ProgramStr, const QString &Version);
    // The check on request: the window always shows the outcome, centred on the caller's window.
    void UpdateProg(int aTop, int aLeft, int aHeight, int aWidth, const QString &ProgramStr,
                    const QString &Version);
    // Probe, version list and comparison for the running release; ProgramStr
    // is the program's name on the way in and the download name on the way out.
    int GetDownloadName(QString &ProgramStr, QString &NewVersion, QString &Remark);

    void DownloadBtnClick();
    void ExitBtnClick();
    // Receives the installer into the data folder's Temp/ folder with the gauge running; true
    // when it arrived whole and as the version list describes it. Otherwise the file is gone
    // and the memo tells why, unless nothing came or the window was closed.
    bool DownloadNewVersion(const QString &downloadName, const QString &versionListUrl);
    // Starts the downloaded installer, stops the companion program and closes the main window.
    // Once the installer has started, a further call does nothing.
    void Install();

    static CommandResult ExecuteShellCommand(const QString &command, bool hidden,
                                             int timeLimitMs = kCommandTimeLimitMs);
    static int WinExecAndWait(const QString &commandLine, quint16 showWindow,
                              int timeLimitMs = kCommandTimeLimitMs);

    // The memo's lines as they stand.
    const QStringList &MemoLines() const { return m_lines; }

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // Closing the window stops a download that is under way.
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildControls();
    void FormCreate();
    void FormShow();
    void FormPaint();
    void belongToModalDialog();

    void clearMemo();
    void addLine(const QString &line);
    void addReleaseLines(const QString &version, const QString &newVersion,
                         const QString &downloadName);
    void refuseDownloadName(const QString &downloadName);
    // Tells that the package manager installs the advised release, and offers no download.
    void referToPackageManager();
    // Runs a handler's work; a failure ends it with a critical message box.
    template <typename Work>
    void guarded(Work work);

    QStringList m_lines;
    // While an installer comes in, the download button waits (a second download would write the
    // same file) and the exit button stops the download rather than start a file that is only
    // half there.
    bool m_downloading = false;
    // Set when the window closes during a download, which then stops.
    bool m_stopDownload = false;
    bool m_installerStarted = false;
    ProgramIdentity m_identity;
    ProgramCloser &m_program;
};

extern TVersionsForm *VersionsForm;
