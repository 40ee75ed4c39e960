// The yardsticks for the program's start: the least a Qt window program does, an empty window
// of the main window's size, shown and painted once. With PELGRANDIX_EXIT_AFTER_FIRST_PAINT set
// it ends right after that paint, without tearing the window down, exactly as pelgrandix does.
// With --text the window shows one line of text in the main window's font, so that the toolkit
// sets up its text drawing as any window with words must (finding the fonts, laying out and
// drawing glyphs): what is left over against that is the program's own work, and the start's
// goal is set against it. With --list FILE it shows the lines of that positions file in Qt's own
// list view instead, read the plainest way, with the first line current: the least a Qt program
// does to show the positions as the main window does.

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QStringListModel>
#include <QWidget>

#include <cstdlib>

namespace {

class ExitAfterFirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QCoreApplication::exit(0);
        }
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setGeometry(100, 100, 760, 330);
    window.setWindowTitle(QStringLiteral("Minimal"));
    if (QCoreApplication::arguments().contains(QStringLiteral("--text"))) {
        window.setFont(QFont(QStringLiteral("Verdana"), 9));
        auto *label = new QLabel(QStringLiteral("AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 1234,00; 0"), &window);
        label->move(8, 8);
        label->adjustSize();
    }
    const QStringList arguments = QCoreApplication::arguments();
    if (const qsizetype listAt = arguments.indexOf(QStringLiteral("--list")); listAt > 0) {
        window.setFont(QFont(QStringLiteral("Verdana"), 9));
        QFile file(arguments.value(listAt + 1));
        if (!file.open(QIODevice::ReadOnly))
            return 1;  // measured as a failed start, not as a window with an empty list
        const QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        auto *list = new QListView(&window);
        list->setUniformItemSizes(true);
        list->setModel(new QStringListModel(lines, list));
        // Where the main window's list is, and as many rows high.
        list->setGeometry(0, 50, 480, 230);
        list->setCurrentIndex(list->model()->index(0, 0));
    }
    ExitAfterFirstPaint measuring;
    const bool exitAfterFirstPaint = qEnvironmentVariableIsSet("PELGRANDIX_EXIT_AFTER_FIRST_PAINT");
    if (exitAfterFirstPaint)
        window.installEventFilter(&measuring);
    window.show();
    const int result = app.exec();
    if (exitAfterFirstPaint)
        std::_Exit(result);
    return result;
}
