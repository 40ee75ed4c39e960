#include "entry/options_form.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include "app/dialog_geometry.h"
#include "book/positions_book.h"
#include "entry/add_form.h"
#include "entry/settings_values.h"
#include "entry/stored_settings.h"
#include "market/data_rec.h"
#include "market/market_hosts.h"
#include "market/option_download.h"
#include "platform/steady_timer.h"
#include "platform/termination_signals.h"
#include "support/conversion_error.h"
#include "support/text_routines.h"
#include "update/versions_form.h"

TOptionsForm *OptionsForm = nullptr;

namespace {

// A spin field keeps its value within its bounds: a value set from the program outside them
// shows as the nearest bound, and a typed one is brought to the nearest bound on leaving.
QSpinBox *makeSpin(QWidget *parent, int minimum, int maximum, int value, const QRect &geometry)
{
    auto *spin = new QSpinBox(parent);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    spin->setGeometry(geometry);
    return spin;
}

QDoubleSpinBox *makePercentSpin(QWidget *parent, const QRect &geometry, double highest = kHighestPercent)
{
    auto *spin = new QDoubleSpinBox(parent);
    spin->setRange(kLowestPercent, highest);
    spin->setDecimals(kPercentDecimals);
    spin->setSingleStep(0.25);
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    spin->setGeometry(geometry);
    return spin;
}

// A site's field, its setting, and the variable of the environment that goes before it.
struct SiteField {
    QLineEdit *edit;
    QString SiteSettings::*setting;
    const char *variable;
    QString name;
    QString (*inForce)();
};

QList<SiteField> siteFields(const TOptionsForm &form)
{
    return {{form.OptiesiteEdit, &SiteSettings::optionSite, "PELGRANDIX_QUOTE_HOST",
             QStringLiteral("Optiesite"), &QuoteHost},
            {form.IndexsiteEdit, &SiteSettings::indexSite, "PELGRANDIX_INDEX_HOST",
             QStringLiteral("Indexsite"), &IndexHost},
            {form.MakersiteEdit, &SiteSettings::makerSite, "PELGRANDIX_MAKER_HOST",
             QStringLiteral("Makersite"), &MakerHost}};
}

QLabel *makeLabel(QWidget *parent, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

} // namespace

TOptionsForm::TOptionsForm(PositionsBook &book, const ProgramIdentity &identity,
                           const MainWindowParts &mainWindow, QWidget *parent)
    : QDialog(parent), m_book(book), m_identity(identity), m_main(mainWindow)
{
    OptionsForm = this;
    buildControls();
    FormCreate();
}

TOptionsForm::~TOptionsForm()
{
    FormDestroy();
    if (OptionsForm == this)
        OptionsForm = nullptr;
}

void TOptionsForm::buildControls()
{
    setFont(QFont(QStringLiteral("Verdana"), 9));

    NOYBox = new QGroupBox(QStringLiteral(" Aantal jaren "), this);
    NOYBox->setGeometry(12, 10, 330, 62);
    JarenEdit = makeSpin(NOYBox, 1, 5, 2, QRect(16, 24, 60, 26));
    Label1 = makeLabel(NOYBox, QStringLiteral("Aantal jaren in te lezen"), 90, 28);

    GroupBox1 = new QGroupBox(QStringLiteral(" DownloadTimer "), this);
    GroupBox1->setGeometry(12, 80, 330, 90);
    DownloadCheck = new QCheckBox(QStringLiteral("DownloadTimer Aan"), GroupBox1);
    DownloadCheck->setGeometry(16, 24, 200, 22);
    Label2 = makeLabel(GroupBox1, QStringLiteral("Download elke"), 16, 58);
    MinutesEdit = makeSpin(GroupBox1, kMinDownloadMinutes, kMaxDownloadMinutes, 5,
                           QRect(130, 54, 60, 26));
    Label3 = makeLabel(GroupBox1, QStringLiteral("minuten"), 200, 58);

    PortfolioBox = new QGroupBox(QStringLiteral(" Portefeuille "), this);
    PortfolioBox->setGeometry(12, 178, 330, 150);
    makeLabel(PortfolioBox, QStringLiteral("Rente %"), 16, 28);
    RenteEdit = makePercentSpin(PortfolioBox, QRect(200, 24, 90, 26));
    makeLabel(PortfolioBox, QStringLiteral("Dividendrendement %"), 16, 58);
    DividendEdit = makePercentSpin(PortfolioBox, QRect(200, 54, 90, 26));
    makeLabel(PortfolioBox, QStringLiteral("Marginpercentage %"), 16, 88);
    MarginEdit = makePercentSpin(PortfolioBox, QRect(200, 84, 90, 26), kHighestMarginPercent);
    MeldingenCheck = new QCheckBox(QStringLiteral("Meldingen Aan"), PortfolioBox);
    MeldingenCheck->setGeometry(16, 118, 200, 22);

    WebsitesBox = new QGroupBox(QStringLiteral(" Websites "), this);
    WebsitesBox->setGeometry(12, 336, 330, 120);
    makeLabel(WebsitesBox, QStringLiteral("Optiesite"), 16, 28);
    OptiesiteEdit = new QLineEdit(WebsitesBox);
    OptiesiteEdit->setGeometry(110, 24, 204, 26);
    makeLabel(WebsitesBox, QStringLiteral("Indexsite"), 16, 58);
    IndexsiteEdit = new QLineEdit(WebsitesBox);
    IndexsiteEdit->setGeometry(110, 54, 204, 26);
    makeLabel(WebsitesBox, QStringLiteral("Makersite"), 16, 88);
    MakersiteEdit = new QLineEdit(WebsitesBox);
    MakersiteEdit->setGeometry(110, 84, 204, 26);

    UpdateBox = new QGroupBox(QStringLiteral(" Update "), this);
    UpdateBox->setGeometry(12, 464, 220, 90);
    UpdatesCheck = new QCheckBox(QStringLiteral("Check voor Updates Aan"), UpdateBox);
    UpdatesCheck->setGeometry(16, 24, 196, 22);
    DownloadBtn = new QPushButton(QStringLiteral("Check Nu"), UpdateBox);
    DownloadBtn->setGeometry(16, 52, 110, 28);
    DownloadBtn->setCursor(Qt::PointingHandCursor);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setGeometry(246, 476, 96, 28);
    // Enter presses the button that has the focus; OK while none has.
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Annuleren"), this);
    CancelBtn->setGeometry(246, 518, 96, 28);

    connect(DownloadCheck, &QCheckBox::clicked, this, [this] { DownloadCheckClick(); });
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(DownloadBtn, &QPushButton::clicked, this, [this] { DownloadBtnClick(); });
}

void TOptionsForm::FormCreate()
{
    setWindowTitle(m_identity.name + QStringLiteral(" - Instellingen"));
    readSettings();
    const int margin = NOYBox->x();
    setFixedSize(NOYBox->x() + NOYBox->width() + margin,
                 UpdateBox->y() + UpdateBox->height() + NOYBox->y());
}

void TOptionsForm::readSettings()
{
    // Each value takes effect as it is read, so a value of the wrong kind stops the reading
    // with the values before it applied and the rest at their design values.
    RegistryKey key(m_identity.name);
    QWidget &main = m_main.window;
    QWidget &list = m_main.positionList;
    try {
        readStoredSettings(key, [&](StoredValue which, int value) {
            switch (which) {
            case StoredValue::Top: main.move(main.x(), value); break;
            case StoredValue::Left: main.move(value, main.y()); break;
            case StoredValue::Height: main.resize(main.width(), value); break;
            case StoredValue::Width: main.resize(value, main.height()); break;
            case StoredValue::Splitter: list.resize(value, list.height()); break;
            case StoredValue::NumberOfYears: NumberOfYears = cutToWord(value); break;
            case StoredValue::DownloadTimer:
                DownloadCheck->setChecked(value != 0);
                DownloadCheckClick();
                break;
            case StoredValue::NumberOfMinutes: NumberOfMinutes = DownloadMinutesOf(value); break;
            case StoredValue::UpdatesOn: UpdatesCheck->setChecked(value != 0); break;
            }
        });
    } catch (const ConversionError &error) {
        // No parent: the main window is not shown yet, and a modal child would fix its frame early.
        QMessageBox::critical(nullptr, m_identity.name, error.message());
    }
    m_book.setSettings(readPortfolioSettings(key));
    OverviewPlace = readOverviewPlace(key);
    Sites = readSiteSettings(key);
    keepMainWindowInSight();
}

void TOptionsForm::keepMainWindowInSight()
{
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    QWidget &window = m_main.window;
    if (screens.isEmpty() || ShowsOnAScreen(QRect(window.pos(), window.size()), screens))
        return;
    // Centred on the main screen, at the size it had.
    const QRect main = QGuiApplication::primaryScreen()->availableGeometry();
    const WindowPos centred = CentreOn({main.top(), main.left(), main.height(), main.width()},
                                       window.height(), window.width());
    window.move(centred.left, centred.top);
}

void TOptionsForm::FormDestroy()
{
    StoredSettings settings;
    settings.top = m_main.window.y();
    settings.left = m_main.window.x();
    settings.height = m_main.window.height();
    settings.width = m_main.window.width();
    settings.splitter = m_main.positionList.width();
    settings.numberOfYears = NumberOfYears;
    settings.downloadTimer = DownloadCheck->isChecked();
    settings.numberOfMinutes = NumberOfMinutes;
    settings.updatesOn = UpdatesCheck->isChecked();
    RegistryKey key(m_identity.name);
    // All groups in one write of the file.
    putStoredSettings(key, settings);
    putPortfolioSettings(key, m_book.settings());
    putOverviewPlace(key, OverviewPlace);
    putSiteSettings(key, Sites);
    if (key.sync())
        return;
    const QString text = QStringLiteral("Instellingen niet opgeslagen: ") + key.fileName()
                         + QStringLiteral(" kan niet worden geschreven.");
    // At the end of a session nobody is at the screen to answer a box, and the session would
    // wait for it: the reason goes to the session's log instead.
    if (TerminationRequested())
        qWarning().noquote() << text;
    else
        QMessageBox::critical(nullptr, m_identity.name, text);
}

void TOptionsForm::showEvent(QShowEvent *event)
{
    // Every showing starts from the values in force, so values changed and then cancelled are
    // not kept. (Done when shown rather than at every paint: this toolkit repaints the dialog
    // far more often, which would undo the user's typing.)
    JarenEdit->setValue(NumberOfYears);
    MinutesEdit->setValue(NumberOfMinutes);
    const PortfolioSettings &portfolio = m_book.settings();
    RenteEdit->setValue(portfolio.ratePercent);
    DividendEdit->setValue(portfolio.dividendYieldPercent);
    MarginEdit->setValue(portfolio.marginPercent);
    MeldingenCheck->setChecked(portfolio.notifications);
    showSites();
    QDialog::showEvent(event);
}

void TOptionsForm::showSites()
{
    for (const SiteField &field : siteFields(*this)) {
        const QString variable = QString::fromLatin1(field.variable);
        const bool fromEnvironment = !qEnvironmentVariable(field.variable).trimmed().isEmpty();
        field.edit->setText(field.inForce());
        field.edit->setEnabled(!fromEnvironment);
        field.edit->setToolTip(fromEnvironment ? QStringLiteral("Ingesteld met ") + variable : QString());
    }
}

bool TOptionsForm::takeSites()
{
    SiteSettings typed = Sites;
    for (const SiteField &field : siteFields(*this)) {
        if (!field.edit->isEnabled())
            continue;
        const std::optional<QString> site = SiteFromText(field.edit->text());
        if (!site) {
            QMessageBox box(QMessageBox::Warning, windowTitle(),
                            QStringLiteral("%1 is geen adres van een website: %2")
                                .arg(field.name, ShownText(field.edit->text())),
                            QMessageBox::Ok, this);
            box.setTextFormat(Qt::PlainText);
            box.exec();
            field.edit->setFocus();
            return false;
        }
        typed.*field.setting = *site;
    }
    Sites = typed;
    return true;
}

void TOptionsForm::DownloadCheckClick()
{
    const bool on = DownloadCheck->isChecked();
    Label2->setEnabled(on);
    Label3->setEnabled(on);
    m_main.downloadTimer.setEnabled(on);
}

void TOptionsForm::OKBtnClick()
{
    if (!takeSites())
        return;
    // Taken first: a download that a new number of years starts already alerts and figures by them.
    PortfolioSettings portfolio = m_book.settings();
    portfolio.ratePercent = RenteEdit->value();
    portfolio.dividendYieldPercent = DividendEdit->value();
    portfolio.marginPercent = MarginEdit->value();
    portfolio.notifications = MeldingenCheck->isChecked();
    m_book.setSettings(portfolio);
    const int years = JarenEdit->value();
    if (years != NumberOfYears) {
        NumberOfYears = cutToWord(years);
        DownloadPages(m_book);
    }
    TDataRec &record = m_book.DataRec();
    record.YearTill = record.YearFrom + NumberOfYears;
    NumberOfMinutes = cutToWord(MinutesEdit->value());
    m_main.downloadTimer.setInterval(NumberOfMinutes * 60 * 1000);
    if (AddForm)
        AddForm->ReplaceYearList(record.YearFrom, record.YearTill);
    accept();
}

void TOptionsForm::DownloadBtnClick()
{
    // The update window centres itself on this dialog, which stays open meanwhile.
    if (VersionsForm)
        VersionsForm->UpdateProg(y(), x(), height(), width(), m_identity.name, m_identity.version);
}

int TOptionsForm::showCentred()
{
    const QWidget &main = m_main.window;
    move(main.x() + (main.width() - width()) / 2, main.y() + (main.height() - height()) / 2);
    return exec();
}
