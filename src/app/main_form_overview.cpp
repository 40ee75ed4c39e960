// The main window's part in the portfolio overview: opening it, and showing a position that is
// chosen there.

#include "app/main_form.h"

#include "portfolio/overview_form.h"

void TMainForm::OverzichtButtonClick()
{
    if (!m_overview) {
        m_overview = std::make_unique<TOverviewForm>(m_book, identity(), *this);
        connect(m_overview.get(), &TOverviewForm::lineChosen, this, [this](int line) {
            if (line >= ListBox1->count())
                return;
            // As if the user picked the line here: the detail panel shows it.
            ListBox1->setCurrentRow(line);
            raise();
            activateWindow();
        });
        connect(m_overview.get(), &TOverviewForm::buyBackChosen, this, &TMainForm::buyBack);
    }
    m_overview->show();
    m_overview->raise();
    m_overview->activateWindow();
}
