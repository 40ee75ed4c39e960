// The main window's part in the self-update: the silent check once after start.

#include "app/main_form.h"

#include "update/versions_form.h"

void TMainForm::UpdateTimerTimer()
{
    UpdateTimer->setEnabled(false);
    if (VersionsForm)
        VersionsForm->UpdateStealth(ProgNam, Version);
}
