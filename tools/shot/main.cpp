// pelgrandix-shot: saves a PNG of one window of the X display, for the README's screenshots
// (scripts/screenshots.sh). Usage: pelgrandix-shot WINDOW-ID FILE.png

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool ok = false;
    const WId window = args.size() == 3 ? args.at(1).toULongLong(&ok, 0) : 0;
    if (!ok) {
        std::fprintf(stderr, "usage: pelgrandix-shot WINDOW-ID FILE.png\n");
        return 2;
    }
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
    if (shot.isNull() || !shot.save(args.at(2), "PNG")) {
        std::fprintf(stderr, "pelgrandix-shot: no picture of window %s saved\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
