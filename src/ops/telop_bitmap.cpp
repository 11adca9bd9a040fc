#include "ops/telop_bitmap.h"

#include "core/last_error.h"
#include "ops/telop_document.h"
#include "ops/telop_painter.h"

#include <QPainter>
#include <QtEndian>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

void putLe16(QByteArray &bytes, int offset, quint16 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

void putLe32(QByteArray &bytes, int offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

int strideOf(int bitCount, int width)
{
    return int(((qint64(bitCount) * width + 31) & ~qint64(31)) / 8);
}

void writeHeaders(QByteArray &bytes, int width, int height, int bitCount, int colors, int stride)
{
    const int offBits = kFileHeaderSize + kInfoHeaderSize + 4 * colors;
    bytes = QByteArray(offBits + qint64(stride) * height, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLe32(bytes, 2, quint32(bytes.size()));
    putLe32(bytes, 10, quint32(offBits));
    putLe32(bytes, 14, kInfoHeaderSize);
    putLe32(bytes, 18, quint32(width));
    putLe32(bytes, 22, quint32(height)); // positive: rows bottom-up
    putLe16(bytes, 26, 1);
    putLe16(bytes, 28, quint16(bitCount));
    putLe32(bytes, 46, quint32(colors));
}

quint8 *rowOf(QByteArray &bytes, int offBits, int stride, int height, int y)
{
    return reinterpret_cast<quint8 *>(bytes.data()) + offBits + qint64(stride) * (height - 1 - y);
}

} // namespace

bool RenderTelopImage(const CTelopTextDoc &doc, const TelopPalette &palette, const TelopBitmapOptions &options,
                      QImage &image)
{
    const int width = doc.GetTotalWidth();
    const int height = doc.GetFontSize();
    if (width <= 0 || height <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    image = QImage(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        SetLastError(ERROR_OUTOFMEMORY);
        return false;
    }
    image.fill(ColorFromRef(palette[0]));
    TelopDrawOptions draw;
    draw.height = height;
    draw.paletteMode = true;
    draw.color24 = options.color24;
    draw.paletteCount = TelopPaletteCount(options.depth);

    const CTelopPainter cells(doc, palette, options.transparent);
    QPainter painter(&image);
    int x = 0;
    int running = 0;
    for (int line = 0; line < doc.GetLineCount(); ++line) {
        const int start = doc.GetLineStart(line);
        const int end = start + doc.GetLineLength(line);
        cells.DrawCells(painter, x, 0, start, end, draw, running);
        if (end < doc.GetCellCount())
            cells.DrawBreakCell(painter, x, 0, end, draw);
    }
    return true;
}

bool EncodeTelopBmp(const QImage &image, const TelopPalette &palette, const TelopBitmapOptions &options,
                    QByteArray &bytes)
{
    if (image.isNull() || (!options.color24 && options.depth != 1 && options.depth != 4)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    const int height = rgb.height();
    const int bitCount = options.color24 ? 24 : options.depth;
    const int colors = options.color24 ? 0 : TelopPaletteCount(options.depth);
    const int stride = strideOf(bitCount, width);
    const int offBits = kFileHeaderSize + kInfoHeaderSize + 4 * colors;
    writeHeaders(bytes, width, height, bitCount, colors, stride);

    for (int k = 0; k < colors; ++k) {
        const int at = kFileHeaderSize + kInfoHeaderSize + 4 * k;
        bytes[at] = char(BlueOf(palette[k]));
        bytes[at + 1] = char(GreenOf(palette[k]));
        bytes[at + 2] = char(RedOf(palette[k]));
    }
    for (int y = 0; y < height; ++y) {
        const QRgb *source = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        quint8 *row = rowOf(bytes, offBits, stride, height, y);
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = source[x];
            if (options.color24) {
                row[3 * x] = quint8(qBlue(pixel));
                row[3 * x + 1] = quint8(qGreen(pixel));
                row[3 * x + 2] = quint8(qRed(pixel));
                continue;
            }
            const int index = TelopPaletteIndex(palette, MakeRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)), colors);
            if (bitCount == 4)
                row[x / 2] |= quint8(index << ((x % 2) ? 0 : 4));
            else
                row[x / 8] |= quint8((index & 1) << (7 - x % 8));
        }
    }
    return true;
}

bool GetBmpData(const CTelopTextDoc &doc, const TelopPalette &palette, const TelopBitmapOptions &options,
                QByteArray &bytes)
{
    QImage image;
    return RenderTelopImage(doc, palette, options, image) && EncodeTelopBmp(image, palette, options, bytes);
}
