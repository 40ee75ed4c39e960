#pragma once
// The windows besides the main one, each made for the main window: it gets the positions book
// and what little it needs of the main window, and what it asks of the main window is connected
// here, so that no window reaches into another.

#include <memory>

class TAboutForm;
class TAddForm;
class TMainForm;
class TOptionsForm;
class TTerminateForm;
class TVersionsForm;

std::unique_ptr<TAboutForm> MakeAboutForm(const TMainForm &main);
std::unique_ptr<TAddForm> MakeAddForm(TMainForm &main);
// The settings dialog, which reads the stored settings and applies them to the main window as it
// is made. Its own widgets are made with it, or Later: by TOptionsForm::makeControls, or by the
// dialog's first showing.
enum class DialogWidgets { Now, Later };
std::unique_ptr<TOptionsForm> MakeOptionsForm(TMainForm &main, DialogWidgets widgets = DialogWidgets::Now);
std::unique_ptr<TVersionsForm> MakeVersionsForm(TMainForm &main);
std::unique_ptr<TTerminateForm> MakeTerminateForm(const TMainForm &main);
