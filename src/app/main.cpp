#include <QApplication>

#include "support/system_info.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    InitSupport();
    QApplication::setApplicationName(QStringLiteral("Pelgrandix"));
    return 0;
}
