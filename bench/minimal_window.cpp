// The yardstick for the program's start: the least a Qt window program does, an empty window
// of the main window's size, shown and painted once. With PELGRANDIX_EXIT_AFTER_FIRST_PAINT set
// it ends right after that paint, without tearing the window down, exactly as pelgrandix does.

#include <QApplication>
#include <QEvent>
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
