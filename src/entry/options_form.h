#pragma once
// The settings dialog: how many years of expiries the add dialog offers, the periodic download
// and its period, the values of the portfolio figures, and the update check at start. It also
// owns the stored settings: it reads them when it is created at start-up (applies the window
// placement and the download timer to the main window, and the portfolio values to the book)
// and writes them back when it is destroyed at the end of the program. Its own widgets are made
// apart from that (makeControls), so that the start need not wait for a dialog it does not show.

#include <QCheckBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "support/program_identity.h"

class PositionsBook;
class SteadyTimer;

// The parts of the main window that the stored settings set up at start and that are stored
// again at the end.
struct MainWindowParts {
    QWidget &window;            // its place and size
    QWidget &positionList;      // its width is stored as the "Splitter"
    SteadyTimer &downloadTimer; // switched and timed by the settings
};

class TOptionsForm : public QDialog
{
    Q_OBJECT
public:
    // Reads the stored settings and applies them; the widgets below are null until makeControls.
    TOptionsForm(PositionsBook &book, const ProgramIdentity &identity, const MainWindowParts &mainWindow,
                 QWidget *parent = nullptr);
    ~TOptionsForm() override;

    // Makes the widgets, showing the settings in force; once. Showing the dialog makes them too.
    void makeControls();
    // The switches in force: the periodic download and the update check at start.
    bool downloadTimerOn() const { return m_downloadTimerOn; }
    bool updatesOn() const { return m_updatesOn; }

    QGroupBox *NOYBox = nullptr;
    QSpinBox *JarenEdit = nullptr;
    QLabel *Label1 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QCheckBox *DownloadCheck = nullptr;
    QLabel *Label2 = nullptr;
    QSpinBox *MinutesEdit = nullptr;
    QLabel *Label3 = nullptr;
    // The portfolio overview's rate and dividend yield and its margin percentage, in per cent,
    // and the desktop alerts when the advice of a written option changes.
    QGroupBox *PortfolioBox = nullptr;
    QDoubleSpinBox *RenteEdit = nullptr;
    QDoubleSpinBox *DividendEdit = nullptr;
    QDoubleSpinBox *MarginEdit = nullptr;
    QDoubleSpinBox *CommissieEdit = nullptr;
    QCheckBox *MeldingenCheck = nullptr;
    // The three sites; one that the environment names is shown, not edited.
    QGroupBox *WebsitesBox = nullptr;
    QLineEdit *OptiesiteEdit = nullptr;
    QLineEdit *IndexsiteEdit = nullptr;
    QLineEdit *MakersiteEdit = nullptr;
    QGroupBox *UpdateBox = nullptr;
    QCheckBox *UpdatesCheck = nullptr;
    QPushButton *DownloadBtn = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

    void DownloadCheckClick();
    void OKBtnClick();
    void DownloadBtnClick();

    // Shows the dialog modally, centred over the main window.
    int showCentred();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void FormCreate();
    void readSettings();
    // A place stored while another screen was attached would show the window out of sight.
    void keepMainWindowInSight();
    void FormDestroy();
    // The period's labels are greyed while the periodic download is off.
    void greyDownloadFields();
    void showSites();
    // Takes the sites typed; false (with a message, nothing taken) when one names no site.
    bool takeSites();

    PositionsBook &m_book;
    ProgramIdentity m_identity;
    MainWindowParts m_main;
    // As the check boxes are made, until a stored value sets them.
    bool m_downloadTimerOn = false;
    bool m_updatesOn = false;
    // The download switch greys its fields only once it has been applied: a reading stopped
    // before it leaves them as they were made.
    bool m_downloadSwitchApplied = false;
};

extern TOptionsForm *OptionsForm;
