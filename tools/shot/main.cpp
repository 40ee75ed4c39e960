// pelgrandix-shot: saves a PNG of one window of the X display, for the README's screenshots
// (scripts/screenshots.sh) and for the tests that read a real window's texts, which enlarge it
// by a whole factor first. Usage: pelgrandix-shot WINDOW-ID FILE.png [FACTOR]

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool ok = false;
    const WId window = args.size() == 3 || args.size() == 4 ? args.at(1).toULongLong(&ok, 0) : 0;
    const int factor = args.size() == 4 ? args.at(3).toInt() : 1;
    if (!ok || factor < 1 || factor > 8) {
        std::fprintf(stderr, "usage: pelgrandix-shot WINDOW-ID FILE.png [FACTOR]\n");
        return 2;
    }
    QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
    if (factor > 1)
        shot = shot.scaled(shot.size() * factor, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (shot.isNull() || !shot.save(args.at(2), "PNG")) {
        std::fprintf(stderr, "pelgrandix-shot: no picture of window %s saved\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
