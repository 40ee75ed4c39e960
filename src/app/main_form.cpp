#include "app/main_form.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>

#include "app/main_layout.h"
#include "app/shaded_panel_widget.h"
#include "book/download_recorder.h"
#include "book/positions_book.h"
#include "portfolio/journal_file.h"
#include "portfolio/overview_form.h"
#include "support/product.h"
#include "support/system_info.h"

TMainForm *MainForm = nullptr;
bool bListBox = false;

namespace {

constexpr int kBarHeight = 52;
constexpr int kStatusMinWidth = 300;
constexpr int kOverviewButtonGap = 8;

QLabel *makeLabel(QWidget *parent, const QString &text, int left, int top, int width = -1,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *label = new QLabel(text, parent);
    // Labels show texts of pages, of the positions file and of the settings: never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    label->move(left, top);
    if (width > 0)
        label->resize(width, 20);
    else
        label->adjustSize();
    return label;
}

QPushButton *makeButton(QWidget *parent, const QString &text, int left)
{
    auto *button = new QPushButton(text, parent);
    button->setGeometry(left, 12, 96, 28);
    return button;
}

} // namespace

TMainForm::TMainForm(PositionsBook &book, QWidget *parent)
    : QWidget(parent), m_book(book)
{
    MainForm = this;
    buildControls();
    followBook();
    FormCreate();
}

TMainForm::~TMainForm()
{
    if (MainForm == this)
        MainForm = nullptr;
}

QFont TMainForm::windowFont()
{
    QFont font(QStringLiteral("Verdana"), 9);
    // The window's texts are Dutch words and figures, which need none of the font's shaping
    // rules (kerning pairs, ligatures): without them a text is laid out at a fraction of the
    // cost, a third of the first paint's text work and most of a list row's.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

void TMainForm::buildControls()
{
    setFont(windowFont());
    setGeometry(100, 100, 760, 330);

    Panel1 = new ShadedPanelWidget(QFrame::Raised, this);
    Panel1->setFixedHeight(kBarHeight);
    AddButton = makeButton(Panel1, QStringLiteral("Voegtoe"), 8);
    DelButton = makeButton(Panel1, QStringLiteral("Verwijder"), 110);
    TerugkopenButton = makeButton(Panel1, QStringLiteral("Terugkopen..."), 212);
    TerugkopenButton->setEnabled(false);
    DownloadButton = makeButton(Panel1, QStringLiteral("Download"), 314);
    InstellingenButton = makeButton(Panel1, QStringLiteral("Instellingen"), 416);
    OverzichtButton = makeButton(Panel1, QStringLiteral("Overzicht"), 0);
    AddButton->setEnabled(false);
    DownloadButton->setEnabled(false);
    OverzichtButton->setEnabled(false);
    HelpButton = new HelpButtonWidget(Panel1);
    HelpButton->setGeometry(0, 14, 24, 24);

    Panel2 = new ShadedPanelWidget(QFrame::Raised, this);
    Panel2->setFixedHeight(kBarHeight);
    Label1 = makeLabel(Panel2, QString(), 8, 16, kStatusMinWidth);
    L21 = makeLabel(Panel2, QString(), 0, 16);
    L22 = makeLabel(Panel2, QString(), 0, 16);
    L23 = makeLabel(Panel2, QString(), 0, 16);
    L24 = makeLabel(Panel2, QString(), 0, 16);

    ListBox1 = new PositionListWidget(m_book.lineModel(), this);

    Panel3 = new ShadedPanelWidget(QFrame::Sunken, this);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    Label3 = makeLabel(Panel3, QStringLiteral("AEX..."), 8, 8, 262);
    Label7 = makeLabel(Panel3, QStringLiteral("Positie:"), 8, 40);
    PositieCheck = new QCheckBox(Panel3);
    PositieCheck->setGeometry(250, 40, 20, 20);
    Label8 = makeLabel(Panel3, QStringLiteral("Aantal:"), 8, 70);
    AantalSpin = new SpinFieldWidget(Panel3);
    AantalSpin->setGeometry(170, 66, 100, 26);
    AantalSpin->setValue(0);
    Label4 = makeLabel(Panel3, QStringLiteral("Laatste..."), 8, 100, 160);
    TransactieEdit = new QLineEdit(QStringLiteral("0,00"), Panel3);
    TransactieEdit->setGeometry(170, 96, 100, 26);
    Label5 = makeLabel(Panel3, QStringLiteral("Laatste..."), 8, 130, 110);
    Label15 = makeLabel(Panel3, QStringLiteral("---"), 110, 130, 160, right);
    Label6 = makeLabel(Panel3, QStringLiteral("Verschil..."), 8, 160, 70);
    Label16 = makeLabel(Panel3, QStringLiteral("---"), 70, 160, 200, right);
    Label9 = makeLabel(Panel3, QStringLiteral("Actie:"), 8, 190, 100);
    ActieLabel = makeLabel(Panel3, QStringLiteral("---"), 110, 190, 160, right);

    auto *middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addWidget(ListBox1, 1);
    middle->addWidget(Panel3);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Panel1);
    column->addLayout(middle, 1);
    column->addWidget(Panel2);

    DownloadTimer = new SteadyTimer(900000, true, this);
    UpdateTimer = new SteadyTimer(10000, true, this);
    AEXTimer = new SteadyTimer(20000, true, this);
    TransactieTimer = new SteadyTimer(1000, false, this);

    connect(AddButton, &QPushButton::clicked, this, [this] { AddButtonClick(); });
    connect(DelButton, &QPushButton::clicked, this, [this] { DelButtonClick(); });
    connect(TerugkopenButton, &QPushButton::clicked, this, [this] { buyBack(ListBox1->currentRow(), false); });
    connect(InstellingenButton, &QPushButton::clicked, this, [this] { InstellingenButtonClick(); });
    connect(HelpButton, &QToolButton::clicked, this, [this] { HelpButtonClick(); });
    connect(OverzichtButton, &QPushButton::clicked, this, [this] { OverzichtButtonClick(); });
    connect(ListBox1, &PositionListWidget::currentRowChanged, this, [this] { ListBox1Click(); });
    // At start the first entry is selected without a fill; a press on it fills the panel too.
    connect(ListBox1, &PositionListWidget::currentRowPressed, this, [this] { ListBox1Click(); });
    connect(PositieCheck, &QCheckBox::toggled, this, [this] { PositieCheckClick(); });
    connect(AantalSpin, &SpinFieldWidget::textChanged, this, [this] { AantalSpinChange(); });
    connect(TransactieEdit, &QLineEdit::textChanged, this, [this] { TransactieEditChange(); });
    connect(TransactieTimer, &SteadyTimer::timeout, this, [this] { TransactieTimerTimer(); });
    connect(DownloadButton, &QPushButton::clicked, this, [this] { DownloadButtonClick(); });
    connect(DownloadTimer, &SteadyTimer::timeout, this, [this] { DownloadTimerTimer(); });
    connect(AEXTimer, &SteadyTimer::timeout, this, [this] { AEXTimerTimer(); });
    connect(UpdateTimer, &SteadyTimer::timeout, this, [this] { UpdateTimerTimer(); });
}

void TMainForm::FormCreate()
{
    sLanguage = QStringLiteral("NLD");
    ProgNam = QStringLiteral("Pelgrandix");
    bPainted = false;
    bListBox = false;
    Version = QStringLiteral("versie ") + QLatin1String(kRelease);
    Copyright = sLanguage == QLatin1String("NLD")
                    ? QStringLiteral("Copyright \u00A9 Rondel Software, alle rechten voorbehouden")
                    : QStringLiteral("Copyright \u00A9 Rondel Software, all rights reserved");
    setWindowTitle(identity().caption());
    DataDir = GetDataDir(ProgNam);
    loadPositions();
    Panel3->setFixedWidth(PositieCheck->x() + PositieCheck->width() + Label3->x());
}

void TMainForm::followBook()
{
    // "Terugkopen..." is for the written option selected, as it stands.
    const QAbstractItemModel *lines = m_book.lineModel();
    connect(lines, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &from, const QModelIndex &to) {
        // A download changes every line, one by one; only the selected one counts.
        const int row = ListBox1->currentRow();
        if (row >= from.row() && row <= to.row())
            updateBuyBackCommand();
    });
    connect(lines, &QAbstractItemModel::rowsInserted, this, &TMainForm::updateBuyBackCommand);
    connect(lines, &QAbstractItemModel::rowsRemoved, this, &TMainForm::updateBuyBackCommand);
    connect(lines, &QAbstractItemModel::modelReset, this, &TMainForm::updateBuyBackCommand);
    connect(ListBox1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TMainForm::updateBuyBackCommand);
    connect(&m_book, &PositionsBook::statusChanged, this, [this] { showStatus(); });
    connect(&m_book, &PositionsBook::busyChanged, this, &TMainForm::setBusyCursor);
    connect(&m_book, &PositionsBook::pagesFetched, this, &TMainForm::enableDownloadCommands);
    // The history and the alerts first, so that the panel shows what they made of the download.
    new DownloadRecorder(m_book);
    connect(&m_book, &PositionsBook::pricesUpdated, this, &TMainForm::showDownloadedPrices);
    connect(&m_book, &PositionsBook::indexQuoteChanged, this, &TMainForm::showIndexQuote);
}

void TMainForm::loadPositions()
{
    // A buy-back that a kill broke off between its journal row and the positions' save is taken
    // back before anything else reads or writes either file.
    QString journalError;
    if (!journal_file::settle(DataDir, &journalError))
        setStatusText(QStringLiteral("Afgesloten.csv niet nagekeken: ") + journalError);
    {
        const QSignalBlocker blocker(ListBox1);
        m_book.load();
    }
    if (m_book.count() > 0)
        SelectEntry(0);
    if (!m_book.incompleteText().isEmpty() || !m_book.unsavedNotice().isEmpty())
        showStatus();
}

void TMainForm::SelectEntry(int index)
{
    const QSignalBlocker blocker(ListBox1);
    ListBox1->setCurrentRow(index);
}

QStringList TMainForm::PositionLines() const
{
    return m_book.lines();
}

void TMainForm::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (bPainted)
        return;
    // Mark it first, so the paints let through while the start-up work runs do nothing; the
    // work itself runs right after this paint has finished drawing the window.
    bPainted = true;
    QTimer::singleShot(0, this, &TMainForm::FormPaintFirst);
}

void TMainForm::FormPaintFirst()
{
    // The update timer has counted since creation; it stays on only when the user wants the
    // check at start.
    if (!UpdateSwitchOn())
        UpdateTimer->setEnabled(false);
    QCoreApplication::processEvents();
    DownloadTimer->setEnabled(false);
    DownloadButtonClick();
    AEXTimerTimer();
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutBars();
}

void TMainForm::FormResize()
{
    layoutBars();
    QCoreApplication::processEvents();
}

void TMainForm::layoutBars()
{
    const int clientWidth = width();
    HelpButton->move(HelpButtonLeft(clientWidth, HelpButton->width()), HelpButton->y());
    OverzichtButton->move(HelpButton->x() - kOverviewButtonGap - OverzichtButton->width(), OverzichtButton->y());
    QLabel *labels[4] = {L21, L22, L23, L24};
    int widths[4];
    for (int i = 0; i < 4; ++i) {
        labels[i]->adjustSize();
        widths[i] = labels[i]->width();
    }
    const IndexLabelPlacement p = PlaceIndexLabels(clientWidth, widths, Label3->x());
    L21->move(p.l21, L21->y());
    L22->move(p.l22, L22->y());
    L23->move(p.l23, L23->y());
    L24->move(p.l24, L24->y());
    // The status may take the room up to the index labels.
    Label1->resize(qMax(kStatusMinWidth, p.l21 - 2 * Label1->x()), Label1->height());
}

