#include "bench_media.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

bool MakePhotoJpeg(const QString &path, int quality)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 4000, 3000);
    gradient.setColorAt(0, QColor(20, 60, 160));
    gradient.setColorAt(1, QColor(230, 180, 40));
    painter.fillRect(image.rect(), gradient);
    for (int i = 0; i < 400; ++i) {
        painter.setPen(QColor::fromHsv(i * 7 % 360, 200, 220));
        painter.drawEllipse(QPoint((i * 997) % 4000, (i * 613) % 3000), 40 + i % 200, 30 + i % 150);
    }
    painter.end();
    return image.save(path, "JPEG", quality);
}
