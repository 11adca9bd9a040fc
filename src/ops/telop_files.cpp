#include "ops/telop_files.h"

#include "core/atomic_file.h"
#include "core/last_error.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "ops/telop_document.h"
#include "ops/telop_font.h"

#include <QFile>
#include <QStringDecoder>

#include <cerrno>
#include <cstdio>
#include <langinfo.h>
#include <optional>

namespace {

constexpr char16_t kTab = u'\t';
constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr ColorRef kColorMask = 0x00FFFFFF;
const QString kLineBreak = QStringLiteral("\r\n");

enum RecordType : int { RECORD_HEADER = 0, RECORD_PALETTE = 1, RECORD_TEXT = 2 };

QString hex8(ColorRef color)
{
    return QStringLiteral("%1").arg(color & kColorMask, 8, 16, QLatin1Char('0')).toUpper();
}

// Reads the field at pos up to the next TAB; pos moves past the TAB. False
// when no TAB follows (the field is then the rest of the record).
bool nextField(QStringView record, qsizetype &pos, QStringView &field)
{
    const qsizetype tab = record.indexOf(kTab, pos);
    if (tab < 0) {
        field = record.mid(pos);
        pos = record.size();
        return false;
    }
    field = record.mid(pos, tab - pos);
    pos = tab + 1;
    return true;
}

// A number as the C library reads it: leading white space and a sign, then
// digits up to the first other character (none: 0). False on overflow of a
// 32-bit value (signed for decimal, unsigned for the hexadecimal colours).
bool parseNumber(QStringView field, int base, qint64 &value)
{
    qsizetype i = 0;
    while (i < field.size() && (field[i] == u' ' || (field[i].unicode() >= u'\t' && field[i].unicode() <= u'\r')))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == u'+' || field[i] == u'-'))
        negative = field[i++] == u'-';
    const qint64 limit = base == 16 ? qint64(0xFFFFFFFF) : qint64(0x7FFFFFFF) + (negative ? 1 : 0);
    qint64 n = 0;
    for (; i < field.size(); ++i) {
        const char16_t c = field[i].unicode();
        const int digit = c >= u'0' && c <= u'9'                 ? c - u'0'
                          : base == 16 && c >= u'a' && c <= u'f' ? c - u'a' + 10
                          : base == 16 && c >= u'A' && c <= u'F' ? c - u'A' + 10
                                                                 : -1;
        if (digit < 0)
            break;
        n = n * base + digit;
        if (n > limit)
            return false;
    }
    value = negative ? -n : n;
    return true;
}

bool readNumberField(QStringView record, qsizetype &pos, int base, qint64 &value)
{
    QStringView field;
    return nextField(record, pos, field) && parseNumber(field, base, value);
}

// Fields 1 to 5 of "0 1 depth 0 size"; only the depth is kept, and only the
// two depths the players know are taken.
bool readHeaderRecord(QStringView record, int &depth)
{
    qsizetype pos = 0;
    qint64 fields[5] = {};
    for (qint64 &field : fields) {
        if (!readNumberField(record, pos, 10, field))
            return false;
    }
    if (fields[2] != 1 && fields[2] != 4)
        return false;
    depth = int(fields[2]);
    return true;
}

bool readColorRecord(QStringView record, TelopPalette &palette)
{
    qsizetype pos = 0;
    qint64 type = 0;
    QStringView field;
    if (!nextField(record, pos, field))
        return parseNumber(field, 10, type);
    if (!parseNumber(field, 10, type))
        return false;
    for (int k = 0; k < 16; ++k) {
        const bool more = nextField(record, pos, field);
        if (field.isEmpty())
            return true;
        qint64 color = 0;
        if (!parseNumber(field, 16, color))
            return false;
        palette[k] = ColorRef(color) & kColorMask;
        if (!more)
            return true;
    }
    return true;
}

bool readTextRecord(QStringView record, CTelopTextDoc &doc)
{
    qsizetype pos = 0;
    QStringView face;
    qint64 numbers[9] = {};
    for (int k = 0; k < 9; ++k) {
        QStringView field;
        if (!nextField(record, pos, field))
            return false;
        if (k == 1) {
            face = field;
            if (face.isEmpty())
                return false;
            continue;
        }
        const int base = (k >= 4 && k <= 6) ? 16 : 10;
        if (!parseNumber(field, base, numbers[k]))
            return false;
    }
    QStringView text;
    if (!nextField(record, pos, text))
        return false;
    if (doc.GetCellCount() == 0)
        doc.SetFont(face.toString(), int(numbers[2]));
    const bool lineBreak = text.isEmpty();
    const QString characters = lineBreak ? kLineBreak : text.toString();
    const int index = doc.GetCellCount();
    if (!doc.InsertText(index, characters))
        return false;
    if (lineBreak)
        return true;
    return doc.ApplyStyle(index, int(characters.size()), quint32(numbers[4]) & TELOP_STYLE_MASK)
           && doc.SetColor(index, int(characters.size()), ColorRef(numbers[5]) & kColorMask);
}

// A damaged file can leave half a line break; the text never holds one, since
// lines, caret moves and deletions all take a break as its two cells.
void repairLineBreaks(CTelopTextDoc &doc)
{
    for (int i = 0; i < doc.GetCellCount(); ++i) {
        TelopCell cell;
        doc.GetCell(i, cell);
        TelopCell next;
        const bool hasNext = doc.GetCell(i + 1, next);
        if (cell.character == kCr && !(hasNext && next.character == kLf)) {
            doc.InsertText(i + 1, QString(QChar(kLf)), &cell);
            ++i;
        } else if (cell.character == kLf) {
            doc.InsertText(i, QString(QChar(kCr)), &cell);
            ++i;
        } else if (cell.character == kCr) {
            ++i; // the LF of this pair
        }
    }
}

} // namespace

TelopPalette DefaultTelopPalette()
{
    return {0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x008000, 0x000080, 0x008080, 0x800000,
            0x800080, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF00FF, 0x0000FF, 0xFF0000, 0x808000};
}

int TelopPaletteIndex(const TelopPalette &palette, ColorRef color, int count)
{
    for (int i = 0; i < qMin(count, int(palette.size())); ++i) {
        if (palette[i] == color)
            return i;
    }
    return 1;
}

int FormatTelopRecords(const CTelopTextDoc &doc, int depth, const TelopPalette &palette, QString &records)
{
    QString face;
    int size = 0;
    doc.GetFont(face, size);
    records += QStringLiteral("%1\t%2\t%3\t%4\t%5").arg(RECORD_HEADER).arg(1).arg(depth).arg(0).arg(size);
    records += QString(14, kTab) + kLineBreak;

    const int count = TelopPaletteCount(depth);
    records += QString::number(RECORD_PALETTE);
    for (int k = 0; k < count; ++k)
        records += kTab + hex8(palette[k]);
    records += QString(qMax(0, 15 - count), kTab) + kLineBreak;

    const QList<TelopCell> &cells = doc.Cells();
    for (int index = 0; index < doc.GetCellCount();) {
        quint32 flags = 0;
        ColorRef color = 0;
        int length = 0;
        if (!doc.GetRun(index, &flags, &color, &length))
            return 0;
        const int last = index + length - 1;
        if (QChar::isHighSurrogate(cells[last].character) && last + 1 < doc.GetCellCount())
            ++length;
        QString text;
        doc.GetText(index, text, length);
        if (text == kLineBreak)
            text.clear();
        records += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t00000000\t0\t0\t")
                       .arg(RECORD_TEXT)
                       .arg(face)
                       .arg(size)
                       .arg(0)
                       .arg(flags & TELOP_STYLE_MASK, 0, 16)
                       .arg(hex8(color));
        records += text + QString(7, kTab) + kLineBreak;
        index += length;
    }
    return 1;
}

int ParseTelopRecords(const QString &records, CTelopTextDoc &doc, int &depth, TelopPalette &palette)
{
    doc.Clear();
    QStringView all(records);
    if (all.startsWith(QChar(0xFEFF)))
        all = all.mid(1);
    int result = 1;
    for (qsizetype p = 0;;) {
        const qsizetype end = all.indexOf(kLineBreak, p);
        if (end < 0)
            break;
        const QStringView record = all.mid(p, end - p);
        p = end + 2;
        if (record.isEmpty())
            break;
        const qsizetype tab = record.indexOf(kTab);
        const QStringView typeText = tab < 0 ? record : record.left(tab);
        if (typeText.isEmpty())
            break;
        qint64 type = 0;
        if (!parseNumber(typeText, 10, type))
            continue;
        bool ok = true;
        if (type == RECORD_HEADER)
            ok = readHeaderRecord(record, depth);
        else if (type == RECORD_PALETTE)
            ok = readColorRecord(record, palette);
        else if (type == RECORD_TEXT)
            ok = readTextRecord(record, doc);
        if (!ok) {
            SetLastError(ERROR_INVALID_DATA);
            result = 0;
            break;
        }
    }
    repairLineBreaks(doc);
    QString face;
    int size = 0;
    doc.GetFont(face, size);
    doc.SetFont(face, size);
    return result;
}

QByteArray EncodeTelopTextFile(const QString &records)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.reserve(2 + records.size() * 2);
    for (const QChar c : records) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QString DecodeTelopTextFile(const QByteArray &bytes)
{
    QString text = QStringDecoder(QStringDecoder::Utf16LE)(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// Reads at most maxBytes of the file; length is its whole size.
static bool readFileStart(const QString &path, qint64 maxBytes, QByteArray &bytes, qint64 &length)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        SetLastErrorFromErrno(errno ? errno : ENOENT);
        return false;
    }
    length = file.size();
    bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError) {
        SetLastErrorFromErrno(EIO);
        return false;
    }
    return true;
}

bool ReadTelopTextFile(const QString &path, QString &records)
{
    QByteArray bytes;
    qint64 length = 0;
    if (!readFileStart(path, kMaxTelopTextFileBytes, bytes, length))
        return false;
    if (length > bytes.size()) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    records = DecodeTelopTextFile(bytes);
    return true;
}

QString NormalizeLineBreaks(const QString &text)
{
    QString result = text;
    result.replace(kLineBreak, QString(QChar(kCr)));
    result.replace(QChar(kLf), QChar(kCr));
    result.replace(QChar(kCr), kLineBreak);
    return result;
}

QByteArray LocaleTextEncoding()
{
    return QByteArray(nl_langinfo(CODESET));
}

namespace {

// The text of bytes in one encoding, or nothing when they are not text in
// it: a byte sequence the encoding does not have, or a NUL, which no text
// file holds (UTF-16 without its mark reads as NULs between the letters).
std::optional<QString> DecodeCleanly(QStringDecoder &&decoder, QByteArrayView bytes)
{
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder(bytes);
    if (decoder.hasError() || text.contains(QChar(0)))
        return std::nullopt;
    return text;
}

// A whole file must end on a whole character; the start of a longer one may
// end inside one, and that piece is left out.
QStringConverter::Flags DecodeFlags(bool whole)
{
    return whole ? QStringConverter::Flag::Stateless : QStringConverter::Flag::Default;
}

std::optional<QString> DecodeAs(QStringConverter::Encoding encoding, QByteArrayView bytes, bool whole)
{
    return DecodeCleanly(QStringDecoder(encoding, DecodeFlags(whole)), bytes);
}

std::optional<QString> DecodeAs(const QByteArray &name, QByteArrayView bytes, bool whole)
{
    return DecodeCleanly(QStringDecoder(name.constData(), DecodeFlags(whole)), bytes);
}

// The encodings a file may be in, in the order they are tried.
std::optional<QString> DecodeText(QByteArrayView bytes, bool whole, const QByteArray &localeEncoding)
{
    // A byte-order mark says what the file is.
    if (bytes.startsWith("\xFF\xFE"))
        return DecodeAs(QStringConverter::Utf16LE, bytes.sliced(2), whole);
    if (bytes.startsWith("\xFE\xFF"))
        return DecodeAs(QStringConverter::Utf16BE, bytes.sliced(2), whole);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return DecodeAs(QStringConverter::Utf8, bytes.sliced(3), whole);
    // Plain ASCII is UTF-8, and Japanese text in UTF-8 is almost never valid
    // in the Windows code page, nor the other way round.
    if (std::optional<QString> text = DecodeAs(QStringConverter::Utf8, bytes, whole))
        return text;
    const bool localeIsUtf8 = QStringConverter::encodingForName(localeEncoding.constData()) == QStringConverter::Utf8;
    if (!localeEncoding.isEmpty() && !localeIsUtf8) {
        if (std::optional<QString> text = DecodeAs(localeEncoding, bytes, whole))
            return text;
    }
    // What a Windows editor writes for Japanese text.
    return DecodeAs(QByteArrayLiteral("windows-31j"), bytes, whole);
}

} // namespace

std::optional<QString> DecodeImportText(const QByteArray &bytes, bool whole, const QByteArray &localeEncoding)
{
    const std::optional<QString> text = DecodeText(bytes, whole, localeEncoding);
    if (!text)
        return std::nullopt;
    return NormalizeLineBreaks(*text);
}

bool ReadImportTextFile(const QString &path, QString &text)
{
    QByteArray bytes;
    qint64 length = 0;
    if (!readFileStart(path, kMaxImportTextBytes, bytes, length))
        return false;
    const bool whole = length <= bytes.size();
    if (!whole)
        WriteSyslog(LOG_WARNING, "It was reduced because data were too long. : Original length = %lld : reduced length = %lld",
                    static_cast<long long>(length), static_cast<long long>(bytes.size()));
    std::optional<QString> decoded = DecodeImportText(bytes, whole);
    if (!decoded) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    text = std::move(*decoded);
    return true;
}

bool WriteBinaryFile(const QString &path, const QByteArray &bytes)
{
    return WriteFileAtomically(path, bytes);
}

bool WriteTextFile(const QString &path, const QString &records)
{
    return WriteFileAtomically(path, EncodeTelopTextFile(records));
}

CTelopFileStage::~CTelopFileStage()
{
    Discard();
}

QString CTelopFileStage::StagingPath(const QString &finalPath)
{
    return finalPath + QLatin1String(kTemporarySuffix);
}

bool CTelopFileStage::Stage(const QString &folder, qint64 number, const QByteArray &bitmap, const QString &records)
{
    Discard();
    QString bitmapPath;
    QString textPath;
    if (!MakeTelopFilePath(folder, number, TELOP_FILE_BITMAP, bitmapPath)
        || !MakeTelopFilePath(folder, number, TELOP_FILE_TEXT, textPath))
        return false;
    m_bitmapPath = bitmapPath;
    m_textPath = textPath;
    if (!WriteBinaryFile(StagingPath(bitmapPath), bitmap) || !WriteTextFile(StagingPath(textPath), records)) {
        const quint32 error = GetLastError();
        Discard();
        SetLastError(error);
        return false;
    }
    return true;
}

// The bitmap goes first: a typed telop is whole once its text file (the
// file its kind needs) is there, so the text file in place marks both as
// complete.
bool CTelopFileStage::Commit()
{
    if (!IsStaged()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    for (const QString &path : {m_bitmapPath, m_textPath}) {
        errno = 0;
        if (std::rename(QFile::encodeName(StagingPath(path)).constData(), QFile::encodeName(path).constData()) != 0) {
            const quint32 error = SetLastErrorFromErrno(errno);
            Discard();
            SetLastError(error);
            return false;
        }
    }
    m_textPath.clear();
    m_bitmapPath.clear();
    return true;
}

void CTelopFileStage::Discard()
{
    if (!IsStaged())
        return;
    QFile::remove(StagingPath(m_bitmapPath));
    QFile::remove(StagingPath(m_textPath));
    m_textPath.clear();
    m_bitmapPath.clear();
}
