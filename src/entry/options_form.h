#pragma once
// The settings dialog: how many years of expiries the add dialog offers, the periodic download
// and its period, the values of the portfolio figures, and the update check at start. It also
// owns the stored settings: it reads them when it is created at start-up (applies the window
// placement and the download timer to the main window, and the portfolio values to the book)
// and writes them back when it is destroyed at the end of the program.

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
    TOptionsForm(PositionsBook &book, const ProgramIdentity &identity, const MainWindowParts &mainWindow,
                 QWidget *parent = nullptr);
    ~TOptionsForm() override;

    QGroupBox *NOYBox;
    QSpinBox *JarenEdit;
    QLabel *Label1;
    QGroupBox *GroupBox1;
    QCheckBox *DownloadCheck;
    QLabel *Label2;
    QSpinBox *MinutesEdit;
    QLabel *Label3;
    // The portfolio overview's rate and dividend yield and its margin percentage, in per cent,
    // and the desktop alerts when the advice of a written option changes.
    QGroupBox *PortfolioBox;
    QDoubleSpinBox *RenteEdit;
    QDoubleSpinBox *DividendEdit;
    QDoubleSpinBox *MarginEdit;
    QCheckBox *MeldingenCheck;
    // The three sites; one that the environment names is shown, not edited.
    QGroupBox *WebsitesBox;
    QLineEdit *OptiesiteEdit;
    QLineEdit *IndexsiteEdit;
    QLineEdit *MakersiteEdit;
    QGroupBox *UpdateBox;
    QCheckBox *UpdatesCheck;
    QPushButton *DownloadBtn;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

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
    void showSites();
    // Takes the sites typed; false (with a message, nothing taken) when one names no site.
    bool takeSites();

    PositionsBook &m_book;
    ProgramIdentity m_identity;
    MainWindowParts m_main;
};

extern TOptionsForm *OptionsForm;
