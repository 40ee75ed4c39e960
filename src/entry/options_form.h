#pragma once
// The settings dialog: how many years of expiries the add dialog offers, the periodic download
// and its period, and the update check at start. It also owns the stored settings: it reads
// them when it is created at start-up (and applies the window placement to the main window)
// and writes them back when it is destroyed at the end of the program.

#include <QCheckBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

class TOptionsForm : public QDialog
{
    Q_OBJECT
public:
    explicit TOptionsForm(QWidget *parent = nullptr);
    ~TOptionsForm() override;

    QGroupBox *NOYBox;
    QSpinBox *JarenEdit;
    QLabel *Label1;
    QGroupBox *GroupBox1;
    QCheckBox *DownloadCheck;
    QLabel *Label2;
    QSpinBox *MinutesEdit;
    QLabel *Label3;
    // The portfolio overview's rate and dividend yield, in per cent, and the desktop alerts
    // when the advice of a written option changes.
    QGroupBox *PortfolioBox;
    QDoubleSpinBox *RenteEdit;
    QDoubleSpinBox *DividendEdit;
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
};

extern TOptionsForm *OptionsForm;
