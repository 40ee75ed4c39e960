#include "portfolio/risk_tab_widget.h"

RiskTabWidget::RiskTabWidget(QWidget *parent) : QWidget(parent)
{
    MessageLabel = new QLabel;
    MessageLabel->setAlignment(Qt::AlignCenter);
    MessageLabel->setWordWrap(true);
    MessageLabel->setTextFormat(Qt::PlainText);
    Stack = new QStackedWidget(this);
    Stack->addWidget(MessageLabel);
    LeftOutLabel = new QLabel(this);
    LeftOutLabel->setWordWrap(true);
    // Position names come from the positions file: never rich text.
    LeftOutLabel->setTextFormat(Qt::PlainText);
    m_layout = new QVBoxLayout(this);
    m_layout->addWidget(Stack, 1);
    m_layout->addWidget(LeftOutLabel);
}

void RiskTabWidget::setFiguresPage(QWidget *page)
{
    m_figuresPage = page;
    Stack->addWidget(page);
}

void RiskTabWidget::showFigures(const PortfolioInputs &inputs, const std::vector<PortfolioRow> &rows)
{
    m_inputs = inputs;
    m_rows = rows;
    m_stale = true;
    if (isVisible())
        showNow();
}

void RiskTabWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_stale)
        showNow();
}

void RiskTabWidget::showNow()
{
    m_stale = false;
    m_book = MakeScenarioBook(m_inputs, m_rows);
    LeftOutLabel->setText(m_book ? ScenarioLeftOutText(*m_book) : QString());
    LeftOutLabel->setVisible(!LeftOutLabel->text().isEmpty());
    if (!m_book) {
        showMessage(QStringLiteral("Nog geen AEX-koers: alles op deze tab rekent vanaf de laatste koers van de AEX, "
                                   "die met de downloads binnenkomt."));
    } else if (m_book->positions.empty()) {
        showMessage(QStringLiteral("Geen posities om door te rekenen: vink \"Positie:\" aan bij de opties die u "
                                   "hebt geschreven."));
    } else {
        Stack->setCurrentWidget(m_figuresPage);
        showBook(*m_book);
    }
}

void RiskTabWidget::showMessage(const QString &text)
{
    MessageLabel->setText(text);
    Stack->setCurrentWidget(MessageLabel);
}
