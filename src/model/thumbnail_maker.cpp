#include "model/thumbnail_maker.h"

#include "core/atomic_file.h"
#include "core/data_folders.h"
#include "core/last_error.h"
#include "core/path_utils.h"
#include "model/property_base.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>

#include <cerrno>

namespace {

// Shrinks the shorter side by the ratio of the longer one to the target side,
// in single precision as the thumbnails of web pages and Flash movies are made,
// so every small thumbnail of the program has the same size for the same picture.
int ShortSideFor94(int shortSide, int longSide)
{
    const float factor = 1.0f / float(kSmallThumbnailSide);
    const int side = int(float(shortSide) / (float(longSide) * factor));
    return qBound(1, side, kSmallThumbnailSide);
}

// The JPEG bytes of an image, 24-bit colour (any alpha is dropped).
QByteArray EncodeJpeg(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB888)))
        return {};
    return bytes;
}

bool WriteJpeg(const QImage &image, const QString &path)
{
    const QByteArray bytes = EncodeJpeg(image);
    if (bytes.isEmpty()) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    return WriteFileAtomically(path, bytes);
}

QImage ScaledTo(const QImage &picture, QSize size)
{
    if (picture.size() == size)
        return picture;
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QSize FitSmallThumbnailSize(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    if (width <= height)
        return {ShortSideFor94(width, height), kSmallThumbnailSide};
    return {kSmallThumbnailSide, ShortSideFor94(height, width)};
}

QSize FitLargeThumbnailSize(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    if (width <= kLargeThumbnailSide && height <= kLargeThumbnailSide)
        return {width, height};
    if (width >= height)
        return {kLargeThumbnailSide, int(qMax<qint64>(1, qint64(height) * kLargeThumbnailSide / width))};
    return {int(qMax<qint64>(1, qint64(width) * kLargeThumbnailSide / height)), kLargeThumbnailSide};
}

QString ThumbnailFolder(const QString &dataRoot, int contentType)
{
    const char *kind = nullptr;
    switch (contentType) {
    case CONTENT_MOVIE: kind = "Video"; break;
    case CONTENT_IMAGE: kind = "Still"; break;
    case CONTENT_WEB: kind = "URL"; break;
    case CONTENT_FLASH: kind = "Flash"; break;
    default: return {};
    }
    return DataFolderOf(dataRoot) + QStringLiteral("/Thumb/") + QLatin1String(kind);
}

bool MakeThumbnailPath(const QString &folder, qint64 number, bool small, QString &path)
{
    QString numbered;
    if (!MakeContentIdPath(folder, number, numbered))
        return false;
    path = numbered + (small ? QStringLiteral("t.jpg") : QStringLiteral(".jpg"));
    return true;
}

bool WriteThumbnails(const QImage &picture, QSize originalSize, const QString &folder, qint64 number)
{
    const QSize largeSize = FitLargeThumbnailSize(originalSize.width(), originalSize.height());
    const QSize smallSize = FitSmallThumbnailSize(originalSize.width(), originalSize.height());
    if (picture.isNull() || largeSize.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const QImage large = ScaledTo(picture, largeSize);
    return WriteThumbnailPair(large, ScaledTo(large, smallSize), folder, number);
}

QImage MakeSmallThumbnail(const QImage &picture)
{
    const QSize size = FitSmallThumbnailSize(picture.width(), picture.height());
    return size.isEmpty() ? QImage() : ScaledTo(picture, size);
}

bool WriteThumbnailPair(const QImage &large, const QImage &small, const QString &folder, qint64 number)
{
    QString largePath;
    QString smallPath;
    if (!MakeThumbnailPath(folder, number, false, largePath) || !MakeThumbnailPath(folder, number, true, smallPath))
        return false;
    errno = 0;
    if (!QDir().mkpath(folder)) {
        SetLastErrorFromErrno(errno ? errno : EACCES);
        return false;
    }
    if (!large.isNull() && !WriteJpeg(large, largePath))
        return false;
    return small.isNull() || WriteJpeg(small, smallPath);
}
