// The commands of the main window's top bar.

#include "app/main_form.h"

#include "entry/add_form.h"

void TMainForm::AddButtonClick()
{
    if (AddForm)
        AddForm->exec();
}
