#include "model/media_probe.h"

#include "core/clock.h"
#include "core/content_id.h"
#include "core/last_error.h"
#include "core/syslog.h"
#include "core/time_utils.h"
#include "model/property_base.h"
#include "model/swf_header.h"
#include "model/thumbnail_maker.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

constexpr qint64 kFramesPerSecond = 30;
constexpr qint64 kMicrosecondsPerSecond = 1000000;
// Play times are shown and sent with two digits of hours.
constexpr qint64 kMaxPlayHours = 99;
// Decoded pictures are bounded by the size checks; this only keeps the image
// reader from refusing the largest accepted bitmaps (8192 x 8192 x 4 bytes),
// which are decoded whole before they are scaled.
constexpr int kImageAllocationLimitMb = 260;

// Truncates to whole frames without overflowing for any 64-bit length.
qint64 FramesFromMicroseconds(qint64 microseconds)
{
    if (microseconds <= 0)
        return 0;
    return microseconds / kMicrosecondsPerSecond * kFramesPerSecond
        + microseconds % kMicrosecondsPerSecond * kFramesPerSecond / kMicrosecondsPerSecond;
}

// The frame count (30 a second) and the play time of a play length. The play
// time's last field is milliseconds, as the list files keep it, not frames.
// False for lengths of 100 hours or more, which the records do not hold.
bool SetPlayLength(qint64 microseconds, MediaInfo &info)
{
    const qint64 frames = FramesFromMicroseconds(microseconds);
    if (frames >= (kMaxPlayHours + 1) * 3600 * kFramesPerSecond)
        return false;
    const qint64 milliseconds = std::max<qint64>(microseconds, 0) / 1000;
    info.playTime = PlayLength{quint16(milliseconds / 3600000), quint16(milliseconds / 60000 % 60),
                               quint16(milliseconds / 1000 % 60), quint16(milliseconds % 1000)};
    info.duration = frames;
    return true;
}

int CheckPictureSize(QSize size, int maxWidth, int maxHeight)
{
    if (size.width() < kMinPictureSide || size.height() < kMinPictureSide)
        return MEDIA_PROBE_PICTURE_TOO_SMALL;
    if (size.width() > maxWidth || size.height() > maxHeight)
        return MEDIA_PROBE_PICTURE_TOO_LARGE;
    return MEDIA_PROBE_OK;
}

quint32 ReadLittleEndian(const uchar *bytes, int count)
{
    quint32 value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

// Whether a bitmap file holds all the pixel data its headers promise: the
// rows of an uncompressed bitmap, else the image size its header states.
bool BmpPixelDataComplete(QFile &file)
{
    constexpr int kCoreHeaderSize = 12; // the old header with 16-bit sizes
    uchar head[38] = {};
    if (!file.seek(0) || file.read(reinterpret_cast<char *>(head), sizeof head) < 26)
        return false;
    const qint64 dataStart = ReadLittleEndian(head + 10, 4);
    const quint32 headerSize = ReadLittleEndian(head + 14, 4);
    qint64 width = 0;
    qint64 height = 0;
    quint32 bitCount = 0;
    quint32 compression = 0;
    quint32 imageSize = 0;
    if (headerSize == kCoreHeaderSize) {
        width = ReadLittleEndian(head + 18, 2);
        height = ReadLittleEndian(head + 20, 2);
        bitCount = ReadLittleEndian(head + 24, 2);
    } else {
        width = qint32(ReadLittleEndian(head + 18, 4));
        height = qAbs(qint64(qint32(ReadLittleEndian(head + 22, 4))));
        bitCount = ReadLittleEndian(head + 28, 2);
        compression = ReadLittleEndian(head + 30, 4);
        imageSize = ReadLittleEndian(head + 34, 4);
    }
    constexpr quint32 kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
    const bool uncompressed = compression == kRgb || compression == kBitFields || compression == kAlphaBitFields;
    const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
    const qint64 dataSize = uncompressed ? rowBytes * height : imageSize;
    return dataStart + dataSize <= file.size();
}

// Whether a JPEG file reaches its end-of-image marker: the segments are walked
// by their lengths and the coded data scanned for the next marker, so a
// thumbnail inside the file's metadata does not count as the picture's end.
bool JpegReachesItsEnd(QFile &file)
{
    const qint64 size = file.size();
    const uchar *bytes = file.map(0, size);
    if (!bytes)
        return false;
    auto isStandalone = [](uchar marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); };
    qint64 at = 2; // after the start-of-image marker
    while (at + 1 < size) {
        if (bytes[at] != 0xFF)
            return false;
        while (at + 1 < size && bytes[at + 1] == 0xFF) // fill bytes
            ++at;
        if (at + 1 >= size)
            return false;
        const uchar marker = bytes[at + 1];
        at += 2;
        if (marker == 0xD9)
            return true;
        if (isStandalone(marker))
            continue;
        if (at + 2 > size)
            return false;
        at += (qint64(bytes[at]) << 8) | bytes[at + 1];
        if (marker != 0xDA)
            continue;
        // Coded data runs to the next marker other than a stuffed zero or a restart.
        while (at + 1 < size && !(bytes[at] == 0xFF && bytes[at + 1] != 0 && !isStandalone(bytes[at + 1])))
            ++at;
    }
    return false;
}

// Title, size and date of the file; refuses what cannot be read and empty
// files. Only regular files are opened: a pipe would block the open and a
// device would never end.
int ReadFileFacts(const QString &path, MediaInfo &info)
{
    const QFileInfo fileInfo(path);
    QFile file(path);
    if (path.isEmpty() || !fileInfo.isFile() || !file.open(QIODevice::ReadOnly))
        return MEDIA_PROBE_NOT_ACCESSIBLE;
    info.size = file.size();
    if (info.size == 0)
        return MEDIA_PROBE_EMPTY_FILE;
    info.title = fileInfo.completeBaseName().left(CPropertyBase::kMaxTitle);
    info.fileDate = ToSystemTime(fileInfo.lastModified());
    return MEDIA_PROBE_OK;
}

int ProbeVideo(const QString &path, const AvProbeLimits &limits, MediaInfo &info, QImage &picture)
{
    AvMediaReader reader(limits);
    int rc = reader.open(path, AvMediaReader::Kind::Video);
    if (rc != MEDIA_PROBE_OK)
        return rc;
    const AvMediaFacts &facts = reader.facts();
    if (!IsVideoSizeAccepted(facts.width, facts.height))
        return MEDIA_PROBE_VIDEO_SIZE;
    if (!SetPlayLength(facts.durationUs, info))
        return MEDIA_PROBE_NOT_SUPPORTED;
    rc = reader.grabFirstPicture(picture);
    if (rc == MEDIA_PROBE_OK)
        rc = reader.checkStatedLength();
    if (rc != MEDIA_PROBE_OK)
        return rc;
    info.dataFormat = facts.dataFormat;
    info.width = facts.width;
    info.height = facts.height;
    return MEDIA_PROBE_OK;
}

int ProbeAudio(const QString &path, const AvProbeLimits &limits, MediaInfo &info)
{
    AvMediaReader reader(limits);
    int rc = reader.open(path, AvMediaReader::Kind::Audio);
    if (rc == MEDIA_PROBE_OK)
        rc = reader.checkStatedLength();
    if (rc != MEDIA_PROBE_OK)
        return rc;
    if (!SetPlayLength(reader.facts().durationUs, info))
        return MEDIA_PROBE_NOT_SUPPORTED;
    info.dataFormat = reader.facts().dataFormat;
    return MEDIA_PROBE_OK;
}

// A still image (JPEG or BMP) is decoded at its large thumbnail size, which the
// JPEG decoder does at a fraction of the cost of the full picture. A telop
// bitmap (BMP only) needs no picture here: its header is read and checked.
int ProbePicture(const QString &path, bool telop, MediaInfo &info, QImage &picture)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(kImageAllocationLimitMb);
    const QByteArray format = reader.format();
    const bool accepted = format == "bmp" || (!telop && format == "jpeg");
    if (!accepted)
        return MEDIA_PROBE_NOT_SUPPORTED;
    const QSize size = reader.size();
    if (!size.isValid())
        return MEDIA_PROBE_DAMAGED;
    const int rc = telop ? CheckPictureSize(size, kMaxTelopWidth, kMaxTelopHeight)
                         : CheckPictureSize(size, kMaxPictureSide, kMaxPictureSide);
    if (rc != MEDIA_PROBE_OK)
        return rc;
    // The decoders fill a picture cut short with grey rather than fail.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return MEDIA_PROBE_NOT_ACCESSIBLE;
    if (!(format == "bmp" ? BmpPixelDataComplete(file) : JpegReachesItsEnd(file)))
        return MEDIA_PROBE_DAMAGED;
    if (!telop) {
        reader.setScaledSize(FitLargeThumbnailSize(size.width(), size.height()));
        picture = reader.read();
        if (picture.isNull())
            return MEDIA_PROBE_DAMAGED;
    }
    info.dataFormat = format == "bmp" ? QStringLiteral("BMP") : QStringLiteral("JPEG");
    info.width = size.width();
    info.height = size.height();
    return MEDIA_PROBE_OK;
}

int ProbeFlash(const QString &path, MediaInfo &info)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return MEDIA_PROBE_NOT_ACCESSIBLE;
    SwfHeader header;
    const int rc = ParseSwfHeader(file.read(kSwfHeaderReadSize), header);
    if (rc != MEDIA_PROBE_OK)
        return rc;
    // A plain movie states its own size; a compressed one its inflated size.
    if (header.signature == 'F' && header.fileLength > quint64(file.size()))
        return MEDIA_PROBE_DAMAGED;
    const QSize stage(header.widthPixels(), header.heightPixels());
    const int sizeRc = CheckPictureSize(stage, kMaxPictureSide, kMaxPictureSide);
    if (sizeRc != MEDIA_PROBE_OK)
        return sizeRc;
    // A frame rate of 0 gives no play length rather than a division by zero.
    const qint64 microseconds = header.frameRate == 0
        ? 0
        : qint64(header.frameCount) * kMicrosecondsPerSecond * 256 / header.frameRate;
    if (!SetPlayLength(microseconds, info))
        return MEDIA_PROBE_NOT_SUPPORTED;
    info.dataFormat = QStringLiteral("Flash %1").arg(header.version);
    info.width = stage.width();
    info.height = stage.height();
    return MEDIA_PROBE_OK;
}

void WriteContentThumbnails(int contentType, qint64 number, const QString &dataRoot, const QImage &picture,
                            const MediaInfo &info)
{
    if (dataRoot.isEmpty())
        return;
    if (!WriteThumbnails(picture, QSize(info.width, info.height), ThumbnailFolder(dataRoot, contentType), number))
        WriteSyslog(LOG_WARNING, "ProbeMediaFile : WriteThumbnails Error : Index = %09lld : Error = %u",
                    static_cast<long long>(number), GetLastError());
}

} // namespace

int ProbeMediaFile(int contentType, qint64 number, const QString &path, const QString &dataRoot, MediaInfo &info,
                   const AvProbeLimits &limits)
{
    info = MediaInfo();
    const bool makesThumbnails = contentType == CONTENT_MOVIE || contentType == CONTENT_IMAGE;
    const bool probed = makesThumbnails || contentType == CONTENT_TELOP || contentType == CONTENT_FLASH
        || contentType == CONTENT_AUDIO;
    if (!probed || (makesThumbnails && !IsValidContentId(number))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return MEDIA_PROBE_BAD_PARAMETER;
    }
    int rc = ReadFileFacts(path, info);
    if (rc != MEDIA_PROBE_OK)
        return rc;

    QImage picture;
    switch (contentType) {
    case CONTENT_MOVIE: rc = ProbeVideo(path, limits, info, picture); break;
    case CONTENT_IMAGE: rc = ProbePicture(path, false, info, picture); break;
    case CONTENT_TELOP: rc = ProbePicture(path, true, info, picture); break;
    case CONTENT_FLASH: rc = ProbeFlash(path, info); break;
    default: rc = ProbeAudio(path, limits, info); break;
    }
    if (rc == MEDIA_PROBE_OK && makesThumbnails)
        WriteContentThumbnails(contentType, number, dataRoot, picture, info);
    return rc;
}
