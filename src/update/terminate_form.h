#pragma once
// A window that is never shown: the holder of the operations that find a running program by
// the full path of its executable and end it. Other windows reach it through TerminateForm.

#include <QString>
#include <QWidget>

class TTerminateForm : public QWidget
{
    Q_OBJECT
public:
    // Placed centred on centreOn, when given.
    explicit TTerminateForm(const QWidget *centreOn = nullptr, QWidget *parent = nullptr);
    ~TTerminateForm() override;

    // Process ids; 0 means no such process runs.
    static bool WindowsIsNT();
    static qint64 GetpID(const QString &Exename);
    static qint64 GetProcessHandleFromExeNT(const QString &exePath);
    static qint64 GetProcessHandleFromExe(const QString &exePath);
    // Throws UpdateError when no process runs Exename or it may not be ended.
    static void TerminateExe(const QString &Exename);
};

extern TTerminateForm *TerminateForm;
