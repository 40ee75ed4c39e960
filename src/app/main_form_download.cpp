// The main window's part in the downloads: the download command and its timer, the index
// refresh, and what both show in the window.

#include "app/main_form.h"

#include <QApplication>
#include <QPalette>

#include "app/download_schedule.h"
#include "book/positions_book.h"
#include "entry/settings_values.h"
#include "market/data_rec.h"
#include "market/index_download.h"
#include "market/option_download.h"

void TMainForm::DownloadButtonClick()
{
    // A click or a timer tick while a download waits between its fetches starts nothing.
    if (DownloadInProgress())
        return;
    setStatusText(QStringLiteral("Downloading..."));
    setBusyCursor(true);
    QCoreApplication::processEvents();
    DownloadPages(m_book);
    DownloadTimer->setInterval(NumberOfMinutes * 60000);
    DownloadTimer->setEnabled(DownloadSwitchOn());
    setBusyCursor(false);
    QCoreApplication::processEvents();
}

void TMainForm::DownloadTimerTimer()
{
    if (DownloadAllowed(timeOfDay(), LastTime))
        DownloadButtonClick();
}

void TMainForm::AEXTimerTimer()
{
    DownloadAEX(m_book);
    // The refresh holds the window while it waits; one that had to wait long (a site sending a
    // byte now and then) must leave the window a whole period before the next, not start it
    // at once because its time has already come.
    AEXTimer->restart();
}

void TMainForm::setBusyCursor(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TMainForm::enableDownloadCommands()
{
    AddButton->setEnabled(true);
    DownloadButton->setEnabled(true);
    OverzichtButton->setEnabled(true);
}

void TMainForm::showDownloadedPrices()
{
    ListBox1Click();
    FormResize();
}

void TMainForm::showIndexQuote(const IndexQuoteResult &result)
{
    const auto colour = [](QLabel *label, const std::optional<IndexColour> &which) {
        if (!which)
            return;
        const Rgb rgb = IndexColourRgb(*which);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(rgb.red, rgb.green, rgb.blue));
        label->setPalette(palette);
    };
    colour(L22, result.l22Colour);
    colour(L23, result.l23Colour);
    L21->setText(result.l21);
    L22->setText(result.l22);
    L23->setText(result.l23);
    L24->setText(result.l24);
    layoutBars();
}
