#include "ui/contents/contents_thumbnails.h"

#include "widgets/app_resources.h"
#include "core/data_folders.h"
#include "core/path_utils.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/media_property.h"
#include "model/telop_property.h"
#include "model/thumbnail_maker.h"

#include <QFileInfo>
#include <QPainter>

namespace {

constexpr int kCellBackground = 180;
constexpr int kMissingFile = 181;
constexpr int kNoThumbnail = 182;
constexpr int kTelopPlaceholder = 183;

QString telopFolder()
{
    return DataFolderOf(GetAppData().GetDataRoot()) + QStringLiteral("/Text");
}

bool fileMissing(int type, const QString &name)
{
    QString path;
    return !GetContentFolders().MakeContentFilePath(type, name, path) || !QFileInfo::exists(path);
}

bool webFileMissing(const QString &address)
{
    if (IsHttpUrl(address))
        return false;
    if (IsAbsolutePath(address))
        return !QFileInfo::exists(address);
    return fileMissing(4, address);
}

QImage bitmapImage(int id)
{
    return LoadBitmapResource(id).toImage().convertToFormat(QImage::Format_RGB888);
}

} // namespace

bool IsContentFileMissing(const CPropertyBase &record)
{
    const int type = record.GetContentType();
    const auto *media = dynamic_cast<const CMediaProperty *>(&record);
    if (!media)
        return false;
    switch (type) {
    case 1:
    case 2:
    case 5:
    case 6:
        return fileMissing(type, media->GetLink());
    case 4:
        return webFileMissing(media->GetLink());
    case 3:
        return !HasTelopFiles(telopFolder(), static_cast<const CTelopProperty &>(record));
    default:
        return false;
    }
}

QImage MakeThumbnailCell(const CPropertyBase &record)
{
    const int type = record.GetContentType();
    if (IsContentFileMissing(record))
        return bitmapImage(type == 2 ? kNoThumbnail : kMissingFile);

    QString path;
    QImage thumbnail;
    if (MakeThumbnailPath(ThumbnailFolder(GetAppData().GetDataRoot(), type), record.GetIndex(), true, path))
        thumbnail.load(path);
    if (thumbnail.isNull())
        return bitmapImage(kNoThumbnail);

    QImage cell = bitmapImage(kCellBackground);
    if (cell.isNull()) {
        cell = QImage(kThumbnailCellSize, kThumbnailCellSize, QImage::Format_RGB888);
        cell.fill(Qt::white);
    }
    QPainter painter(&cell);
    painter.drawImage((kThumbnailCellSize - thumbnail.width()) / 2, (kThumbnailCellSize - thumbnail.height()) / 2,
                      thumbnail);
    return cell;
}

void DrawTelopThumbnail(QPainter &painter, const QRect &row, const CTelopProperty &record)
{
    const QRect target = row.adjusted(4, 2, -4, -2);
    if (target.width() <= 0 || target.height() <= 0)
        return;

    QString path;
    QImage bitmap;
    QSize source;
    if (MakeTelopFilePath(telopFolder(), record.GetIndex(), TELOP_FILE_BITMAP, path) && QFileInfo::exists(path)) {
        if (!bitmap.load(path))
            return;
        // The stored size names the part of the bitmap that is the telop; it
        // never reaches past the bitmap itself.
        source = QSize(record.GetWidth(), record.GetHeight()).boundedTo(bitmap.size());
    } else {
        bitmap = LoadBitmapResource(kTelopPlaceholder).toImage();
        source = bitmap.size();
    }
    if (source.width() <= 0 || source.height() <= 0)
        return;

    const double ratio = double(source.height()) / target.height();
    int drawnWidth = int(source.width() / ratio);
    int sourceWidth = source.width();
    if (drawnWidth > target.width()) {
        drawnWidth = target.width();
        sourceWidth = qMin(source.width(), int(target.width() * ratio));
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(target.topLeft(), QSize(drawnWidth, target.height())), bitmap,
                      QRect(0, 0, sourceWidth, source.height()));
    painter.restore();
}
