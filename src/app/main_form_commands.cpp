// The commands of the main window's top bar.

#include "app/main_form.h"

#include "about/about_form.h"
#include "entry/add_form.h"
#include "entry/options_form.h"

void TMainForm::AddButtonClick()
{
    if (AddForm)
        AddForm->exec();
}

void TMainForm::DelButtonClick()
{
    if (ListBox1->currentRow() < 0) {
        if (ListBox1->count() == 0)
            return;
        SelectEntry(0);
    }
    if (!askUser(QStringLiteral(" - Verwijderen"),
                 QStringLiteral("Wilt u inderdaad de geselecteerde Optie verwijderen?")))
        return;
    // A price still waiting for its delay belongs to a row that is about to move or go.
    storePendingTransactionPrice();
    const int index = ListBox1->currentRow();
    {
        const QSignalBlocker blocker(ListBox1);
        delete ListBox1->takeItem(index);
    }
    SelectEntry(index < ListBox1->count() ? index : ListBox1->count() - 1);
    // The user emptied the list on purpose: that empty list is written, so the last position
    // does not come back at the next start.
    if (ListBox1->count() == 0)
        m_listEmptiedByUser = true;
    WriteRegels();
    // The panel shows the entry now selected, so that an edit lands where the user sees it.
    ListBox1Click();
}

void TMainForm::InstellingenButtonClick()
{
    if (OptionsForm)
        OptionsForm->showCentred();
}

void TMainForm::HelpButtonClick()
{
    if (AboutForm)
        AboutForm->exec();
}

bool TMainForm::DownloadSwitchOn() const
{
    return OptionsForm ? OptionsForm->DownloadCheck->isChecked() : true;
}

bool TMainForm::UpdateSwitchOn() const
{
    return OptionsForm ? OptionsForm->UpdatesCheck->isChecked() : true;
}
