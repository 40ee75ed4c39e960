#include "app/main_form_windows.h"

#include "about/about_form.h"
#include "app/main_form.h"
#include "entry/add_form.h"
#include "entry/options_form.h"
#include "update/terminate_form.h"
#include "update/versions_form.h"

std::unique_ptr<TAboutForm> MakeAboutForm(const TMainForm &main)
{
    return std::make_unique<TAboutForm>(main.identity());
}

std::unique_ptr<TAddForm> MakeAddForm(TMainForm &main)
{
    auto form = std::make_unique<TAddForm>(main.book(), main.identity(), main);
    QObject::connect(form.get(), &TAddForm::positionComposed, &main, &TMainForm::addPosition);
    return form;
}

std::unique_ptr<TOptionsForm> MakeOptionsForm(TMainForm &main, DialogWidgets widgets)
{
    auto form = std::make_unique<TOptionsForm>(main.book(), main.identity(),
                                               MainWindowParts{main, *main.ListBox1, *main.DownloadTimer});
    if (widgets == DialogWidgets::Now)
        form->makeControls();
    return form;
}

std::unique_ptr<TVersionsForm> MakeVersionsForm(TMainForm &main)
{
    return std::make_unique<TVersionsForm>(main.identity(), main);
}

std::unique_ptr<TTerminateForm> MakeTerminateForm(const TMainForm &main)
{
    return std::make_unique<TTerminateForm>(&main);
}
