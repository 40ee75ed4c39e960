#include "portfolio/chart_picture_widget.h"

#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace {

QImage withTitle(const QPixmap &view, const QString &title, const QFont &font)
{
    const int band = QFontMetrics(font).height() * 2;
    const QSize size = view.deviceIndependentSize().toSize();
    QImage image(QSize(size.width(), size.height() + band) * view.devicePixelRatio(), QImage::Format_RGB32);
    image.setDevicePixelRatio(view.devicePixelRatio());
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, size.width(), band), Qt::AlignCenter, title);
    painter.drawPixmap(0, band, view);
    return image;
}

} // namespace

bool SaveChartPicture(QWidget &view, const QString &title, const QString &path)
{
    QFont titleFont = view.window()->font();
    titleFont.setBold(true);
    return withTitle(view.grab(), title, titleFont).save(path, "PNG");
}

void SaveChartPictureAs(QWidget &view, const QString &title, const QString &caption, const QString &defaultFileName)
{
    QWidget *window = view.window();
    const QString path = QFileDialog::getSaveFileName(window, caption,
                                                      QDir(QDir::homePath()).filePath(defaultFileName),
                                                      QStringLiteral("PNG-afbeeldingen (*.png)"));
    if (!path.isEmpty() && !SaveChartPicture(view, title, path))
        QMessageBox::warning(window, window->windowTitle(),
                             QStringLiteral("De grafiek kon niet worden opgeslagen in %1.").arg(path));
}
