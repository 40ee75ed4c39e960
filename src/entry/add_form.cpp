#include "entry/add_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QTimer>

#include "app/plain_text_box_widget.h"
#include "book/positions_book.h"
#include "entry/add_position.h"
#include "market/data_rec.h"
#include "support/conversion_error.h"
#include "support/month_names.h"

TAddForm *AddForm = nullptr;

namespace {

QComboBox *makeChoiceList(QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setMinimumWidth(120);
    return box;
}

// A strike list takes a typed strike too; it stays a list of what the quotes offer, so typing
// neither adds to it nor completes from it.
QComboBox *makeStrikeList(QWidget *parent)
{
    auto *box = makeChoiceList(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    return box;
}

void selectDefaultStrike(QComboBox *box)
{
    box->setCurrentIndex(DefaultStrikeIndex(box->count()));
}

} // namespace

TAddForm::TAddForm(PositionsBook &book, const ProgramIdentity &identity, const QWidget &mainWindow,
                   QWidget *parent)
    : QDialog(parent), m_book(book), m_identity(identity), m_mainWindow(mainWindow)
{
    AddForm = this;
    buildControls();
    FormCreate();
}

TAddForm::~TAddForm()
{
    if (AddForm == this)
        AddForm = nullptr;
}

void TAddForm::buildControls()
{
    setFont(QFont(QStringLiteral("Verdana"), 9));

    RadioGroup = new RadioGroupWidget(QStringLiteral("Serie"),
                                      {QStringLiteral("AX1"), QStringLiteral("AX2"),
                                       QStringLiteral("AEX"), QStringLiteral("AX4"),
                                       QStringLiteral("AX5")},
                                      this);
    RadioGroup->setItemIndex(2);

    MaandLabel = new QLabel(QStringLiteral("Maand"), this);
    ComboBox1 = makeChoiceList(this);
    RadioPut = new QRadioButton(QStringLiteral("Put"), this);
    PutStrikeLabel = new QLabel(QStringLiteral("Uitoefenkoers"), this);
    ComboBox4 = makeStrikeList(this);

    JaarLabel = new QLabel(QStringLiteral("Jaar"), this);
    ComboBox2 = makeChoiceList(this);
    RadioCall = new QRadioButton(QStringLiteral("Call"), this);
    CallStrikeLabel = new QLabel(QStringLiteral("Uitoefenkoers"), this);
    ComboBox3 = makeStrikeList(this);
    RadioPut->setChecked(true);

    ResultLabel = new QLabel(this);
    // It shows quote texts as the page gave them.
    ResultLabel->setTextFormat(Qt::PlainText);
    ResultLabel->setAlignment(Qt::AlignCenter);
    ResultLabel->setMinimumHeight(32);

    AantalLabel = new QLabel(QStringLiteral("Aantal:"), this);
    EditAantal = new QLineEdit(QStringLiteral("1"), this);
    EditAantal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    EditAantal->setFixedWidth(80);
    CancelButton = new QPushButton(QStringLiteral("Annuleren"), this);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(RadioGroup, 0, 0, 1, 5);
    grid->addWidget(MaandLabel, 1, 0);
    grid->addWidget(ComboBox1, 1, 1);
    grid->addWidget(RadioPut, 1, 2);
    grid->addWidget(PutStrikeLabel, 1, 3);
    grid->addWidget(ComboBox4, 1, 4);
    grid->addWidget(JaarLabel, 2, 0);
    grid->addWidget(ComboBox2, 2, 1);
    grid->addWidget(RadioCall, 2, 2);
    grid->addWidget(CallStrikeLabel, 2, 3);
    grid->addWidget(ComboBox3, 2, 4);
    grid->addWidget(ResultLabel, 3, 0, 1, 5);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(AantalLabel);
    bottom->addWidget(EditAantal);
    bottom->addStretch(1);
    bottom->addWidget(CancelButton);
    bottom->addWidget(OKButton);
    grid->addLayout(bottom, 4, 0, 1, 5);
    // The result line changes with every choice; the dialog keeps its size meanwhile.
    setFixedSize(560, 250);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            [this] { ComboBoxChange(ComboBox1); });
    connect(ComboBox2, &QComboBox::currentIndexChanged, this,
            [this] { ComboBoxChange(ComboBox2); });
    for (QComboBox *strikes : {ComboBox3, ComboBox4}) {
        connect(strikes, &QComboBox::textActivated, this,
                [this, strikes] { ComboBoxChange(strikes); });
        connect(strikes->lineEdit(), &QLineEdit::textEdited, this,
                [this, strikes] { ComboBoxChange(strikes); });
    }
    connect(RadioGroup, &RadioGroupWidget::itemIndexChanged, this,
            [this] { RadioGroupClick(RadioGroup); });
    for (QRadioButton *kind : {RadioPut, RadioCall}) {
        connect(kind, &QRadioButton::toggled, this, [this, kind](bool checked) {
            if (checked)
                RadioGroupClick(kind);
        });
    }
    connect(EditAantal, &QLineEdit::textChanged, this, [this] { EditAantalChange(); });
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
}

void TAddForm::FormCreate()
{
    setWindowTitle(m_identity.name + QStringLiteral(" - Toevoegen"));
    bPainted = false;
}

void TAddForm::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (bPainted)
        return;
    // Marked first, so that paints let through while the lists are filled do nothing; the
    // filling runs once this paint has drawn the dialog.
    bPainted = true;
    QTimer::singleShot(0, this, &TAddForm::FormPaintFirst);
}

void TAddForm::FormPaintFirst()
{
    guarded([this] {
        fillMonthList();
        ReplaceYearList(m_book.DataRec().YearFrom, m_book.DataRec().YearTill);
        GetUitOefenKoersen(QLatin1Char('C'));
        GetUitOefenKoersen(QLatin1Char('P'));
        composeChoice(this);
    });
    centreOverMainWindow();
}

void TAddForm::fillMonthList()
{
    const QSignalBlocker blocker(ComboBox1);
    ComboBox1->clear();
    for (int month = 1; month <= 12; ++month)
        ComboBox1->addItem(LongMonthName(month));
    ComboBox1->setCurrentIndex(m_book.DataRec().MonthFrom - 1);
}

void TAddForm::ReplaceYearList(int yearFrom, int yearTill)
{
    const QSignalBlocker blocker(ComboBox2);
    ComboBox2->clear();
    for (int year = yearFrom; year <= yearTill; ++year)
        ComboBox2->addItem(QString::number(year));
    ComboBox2->setCurrentIndex(0);
}

void TAddForm::centreOverMainWindow()
{
    move(CentredTopLeft(m_mainWindow.frameGeometry(), frameGeometry().size()));
}

void TAddForm::GetUitOefenKoersen(QChar CP)
{
    const QString expiry = ExpiryOfChoice(SeriesName(RadioGroup->itemIndex()), ComboBox1->currentIndex(),
                                          ComboBox2->currentText());
    const QStringList choices = StrikeChoices(m_book.KoersList(), CP, expiry);
    QComboBox *strikes = CP == QLatin1Char('C') ? ComboBox3 : ComboBox4;
    strikes->clear();
    strikes->addItems(choices);
    selectDefaultStrike(ComboBox3);
    selectDefaultStrike(ComboBox4);
}

void TAddForm::ComboBoxChange(QObject *sender)
{
    guarded([this, sender] { composeChoice(sender); });
}

void TAddForm::composeChoice(QObject *sender)
{
    if (sender == ComboBox1 || sender == ComboBox2 || sender == RadioGroup) {
        GetUitOefenKoersen(QLatin1Char('C'));
        GetUitOefenKoersen(QLatin1Char('P'));
    }
    const bool put = RadioPut->isChecked();
    const QString line = ComposePositionLine(
        SeriesName(RadioGroup->itemIndex()),
        put ? QStringLiteral("Put") : QStringLiteral("Call"), ComboBox1->currentIndex(),
        ComboBox2->currentText(), put ? ComboBox4->currentText() : ComboBox3->currentText(),
        EditAantal->text(), m_book.KoersList(), m_book.DataRec());
    ResultLabel->setText(line);
}

void TAddForm::RadioGroupClick(QObject *sender)
{
    ComboBoxChange(sender);
}

void TAddForm::EditAantalChange()
{
    // Clearing the field to type a new count is no choice yet.
    if (EditAantal->text().isEmpty())
        return;
    ComboBoxChange(EditAantal);
}

void TAddForm::OKButtonClick()
{
    const QString line = ResultLabel->text();
    if (IsAddableLine(line))
        emit positionComposed(line);
    accept();
}

void TAddForm::CancelButtonClick()
{
    reject();
}

void TAddForm::guarded(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const ConversionError &error) {
        showConversionError(error);
    }
}

void TAddForm::showConversionError(const ConversionError &error)
{
    ShowCriticalText(this, m_identity.name, error.message());
}
