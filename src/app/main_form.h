#pragma once
// The main window: the list of positions with its detail panel, the top bar of commands, the
// status and index labels at the bottom, and the timers that drive downloads and refreshes. It
// shows the positions book and runs its downloads; the other windows get the book, and what
// little they need of this window, when they are made.

#include <QLabel>
#include <QPushButton>
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QTime>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

#include "app/help_button_widget.h"
#include "app/position_list_widget.h"
#include "app/spin_field_widget.h"
#include "market/index_quote.h"
#include "platform/steady_timer.h"
#include "positions/positions_file.h"
#include "support/program_identity.h"
#include "update/program_closer.h"

class PositionsBook;
class TOverviewForm;

class TMainForm : public QWidget, public ProgramCloser
{
    Q_OBJECT
public:
    explicit TMainForm(PositionsBook &book, QWidget *parent = nullptr);
    ~TMainForm() override;
    // The font of the window and its controls.
    static QFont windowFont();

    // Identity of the program.
    QString ProgNam;
    QString Version;
    QString Copyright;
    ProgramIdentity identity() const { return {ProgNam, Version, Copyright}; }
    PositionsBook &book() const { return m_book; }
    bool bPainted = false;
    // The time of day by which the download timer decides whether to fetch: the system's clock,
    // unless a test puts its own here.
    std::function<QTime()> timeOfDay = &QTime::currentTime;

    // Controls, named as the rest of the program knows them.
    QFrame *Panel1;
    QPushButton *AddButton;
    QPushButton *DelButton;
    QPushButton *TerugkopenButton;
    QPushButton *DownloadButton;
    QPushButton *InstellingenButton;
    QPushButton *OverzichtButton;
    HelpButtonWidget *HelpButton;

    QFrame *Panel2;
    QLabel *Label1;
    QLabel *L21, *L22, *L23, *L24;

    PositionListWidget *ListBox1;

    QFrame *Panel3;
    QLabel *Label3;
    QLabel *Label7;
    QCheckBox *PositieCheck;
    QLabel *Label8;
    SpinFieldWidget *AantalSpin;
    QLabel *Label4;
    QLineEdit *TransactieEdit;
    QLabel *Label5, *Label15;
    QLabel *Label6, *Label16;
    QLabel *Label9, *ActieLabel;

    SteadyTimer *DownloadTimer;
    SteadyTimer *UpdateTimer;
    SteadyTimer *AEXTimer;
    SteadyTimer *TransactieTimer;

    // Saves the position list to the positions file. A file that was not read whole is saved
    // over only after the user's yes; a failure shows in the status.
    void WriteRegels();
    // Ends the program as the session asks (a termination signal): saves as a close does,
    // without asking anything; a list that cannot be saved goes to the state folder instead.
    void EndSession();
    // Saves as the close would, asking where the close would ask, before something that must
    // only happen once the window is sure to close (an installer replacing the program). False
    // when the user keeps the window open. The close that follows saves only what changed since.
    // A close itself goes through here too.
    bool readyToClose() override;
    void closeProgram() override { close(); }
    // Selects an entry without raising the list's click (-1: no entry).
    void SelectEntry(int index);
    QStringList PositionLines() const;
    // Appends a position composed in the add dialog, saves, and shows it in the panel.
    void addPosition(const QString &line);
    // Asks how the written option of that line was bought back (and, for a roll, what was
    // written instead), then records it in the journal and the positions as the program saves.
    void buyBack(int line, bool roll);

    void FormResize();

    // The settings dialog's switches: the download timer after a download, and the one update
    // check at start.
    bool DownloadSwitchOn() const;
    bool UpdateSwitchOn() const;

    // Commands and timers.
    void AddButtonClick();
    void DelButtonClick();
    void InstellingenButtonClick();
    void HelpButtonClick();
    // Opens the portfolio overview, made at its first opening.
    void OverzichtButtonClick();
    void DownloadButtonClick();
    void DownloadTimerTimer();
    void AEXTimerTimer();

    // Detail panel and its edits.
    void ListBox1Click();
    void PositieCheckClick();
    void AantalSpinChange();
    void TransactieEditChange();
    void TransactieTimerTimer();

    // The one silent update check after start.
    void UpdateTimerTimer();

    // What the downloads of the book show in this window.
    void setStatusText(const QString &text);
    void setBusyCursor(bool busy);
    void enableDownloadCommands();
    void showDownloadedPrices();
    void showIndexQuote(const IndexQuoteResult &result);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormPaintFirst();
    void buildControls();
    void layoutBars();
    void followBook();
    void loadPositions();
    void storePendingTransactionPrice();
    void storeTransactionPrice(int row, const QString &typed);
    // The difference, its amount per option and the advice of the panel, from a line's fields.
    void showDifference(const QStringList &fields);
    void updateBuyBackCommand();
    bool mayOverwritePositions();
    // Asks the confirmation dialog, centred on this window; true for "Ja".
    bool askUser(const QString &captionSuffix, const QString &question);
    // Saves for a close; false when the user wants the window to stay open.
    bool saveForClose();
    void saveAtSessionEnd();
    void showStatus();

    PositionsBook &m_book;
    // The entry that a typed transaction price belongs to while its store is pending.
    int m_pendingPriceRow = -1;
    bool m_sessionEnding = false;
    // The list as saved by readyToClose, for the close that follows it.
    std::optional<QStringList> m_linesSavedForClose;
    std::unique_ptr<TOverviewForm> m_overview;
};

extern TMainForm *MainForm;
// True while the detail panel is being filled, so program-set texts are no user edits.
extern bool bListBox;
