#include "update/terminate_form.h"

#include "update/process_control.h"

TTerminateForm *TerminateForm = nullptr;

TTerminateForm::TTerminateForm(const QWidget *centreOn, QWidget *parent)
    : QWidget(parent)
{
    TerminateForm = this;
    setWindowTitle(QStringLiteral("TerminateForm"));
    resize(203, 108);
    if (centreOn) {
        QRect placed(QPoint(), size());
        placed.moveCenter(centreOn->geometry().center());
        move(placed.topLeft());
    }
}

TTerminateForm::~TTerminateForm()
{
    if (TerminateForm == this)
        TerminateForm = nullptr;
}

bool TTerminateForm::WindowsIsNT()
{
    return ::WindowsIsNT();
}

qint64 TTerminateForm::GetpID(const QString &Exename)
{
    return ::GetpID(Exename);
}

qint64 TTerminateForm::GetProcessHandleFromExeNT(const QString &exePath)
{
    return ::GetProcessHandleFromExeNT(exePath);
}

qint64 TTerminateForm::GetProcessHandleFromExe(const QString &exePath)
{
    return ::GetProcessHandleFromExe(exePath);
}

void TTerminateForm::TerminateExe(const QString &Exename)
{
    ::TerminateExe(Exename);
}
