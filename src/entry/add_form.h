#pragma once
// The add dialog: the user composes a new position from the series that the last download
// offers in the positions book, sees the complete line with its current price while choosing,
// and OK hands it to the main window to add. Created once after the main window; its lists are
// filled the first time it is shown and keep their contents and choices between showings.

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

#include "entry/radio_group_widget.h"
#include "support/program_identity.h"

class ConversionError;
class PositionsBook;

class TAddForm : public QDialog
{
    Q_OBJECT
public:
    // Centred over mainWindow when it is first shown.
    TAddForm(PositionsBook &book, const ProgramIdentity &identity, const QWidget &mainWindow,
             QWidget *parent = nullptr);
    ~TAddForm() override;

    // Set by the first paint, whose work fills the lists once.
    bool bPainted = false;

    RadioGroupWidget *RadioGroup;  // series "AX1", "AX2", "AEX", "AX4", "AX5"
    QRadioButton *RadioPut;
    QRadioButton *RadioCall;
    QComboBox *ComboBox1;  // expiry month, long month names
    QComboBox *ComboBox2;  // expiry year
    QComboBox *ComboBox4;  // "Geen" and the put strikes
    QComboBox *ComboBox3;  // "Geen" and the call strikes
    QLineEdit *EditAantal;
    QLabel *ResultLabel;
    QPushButton *OKButton;
    QPushButton *CancelButton;
    QLabel *MaandLabel, *JaarLabel, *PutStrikeLabel, *CallStrikeLabel, *AantalLabel;

    // Refills the call strike list ('C', ComboBox3) or the put strike list ('P', ComboBox4) for
    // the chosen series, month and year from the book's quote list, then selects the
    // first strike offered in both lists. Throws ConversionError, before any list changes, when
    // the month or year chosen is no date.
    void GetUitOefenKoersen(QChar CP);

    // The one handler of every choice: a change of month, year or series refills both strike
    // lists; any change then recomposes the result line. A conversion failure is shown in an
    // error box and leaves the result line as it was.
    void ComboBoxChange(QObject *sender);
    void RadioGroupClick(QObject *sender);
    void EditAantalChange();
    void OKButtonClick();
    void CancelButtonClick();

    // Puts the years yearFrom to yearTill in the year list and selects the first; the strike
    // lists and the result line stay until the next change of month, year or series.
    void ReplaceYearList(int yearFrom, int yearTill);

signals:
    // OK was pressed on a line that may be added.
    void positionComposed(const QString &line);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void buildControls();
    void FormCreate();
    void FormPaintFirst();
    void centreOverMainWindow();
    void fillMonthList();
    // The work of ComboBoxChange, throwing what that handler catches.
    void composeChoice(QObject *sender);
    // Runs one event handler, showing a conversion failure in the error box.
    void guarded(const std::function<void()> &handler);
    void showConversionError(const ConversionError &error);

    PositionsBook &m_book;
    ProgramIdentity m_identity;
    const QWidget &m_mainWindow;
};

extern TAddForm *AddForm;
