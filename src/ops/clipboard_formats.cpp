#include "ops/clipboard_formats.h"

#include "model/property_base.h"
#include "model/q9_group_xml.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QtEndian>

namespace {

constexpr const char *kFormatNames[CLIPBOARD_FORMAT_COUNT] = {
    "TelvBgmListCoppyData",  "TelvContentsData",     "TelvNodeData",          "TelvPlaylistCoppyData",
    "TelvPlaylistEventData", "TelvScheduleCopyData", "TelvScheduleEventData",
};

constexpr qsizetype kWord = 4;
constexpr qsizetype kScheduleHeaderWords = 3;

void appendWord(QByteArray &block, quint32 value)
{
    char bytes[kWord];
    qToLittleEndian(value, bytes);
    block.append(bytes, kWord);
}

quint32 wordAt(const QByteArray &block, qsizetype word)
{
    return qFromLittleEndian<quint32>(block.constData() + word * kWord);
}

// Reads the count at word position first and the indexes after it; false
// when the block is shorter than the count asks for. The size is compared in
// 64 bits so a hostile count cannot wrap around.
bool readCountedIndexes(const QByteArray &block, qsizetype first, QList<quint32> &indexes)
{
    indexes.clear();
    if (block.size() < (first + 1) * kWord)
        return false;
    const quint32 count = wordAt(block, first);
    if (qint64(block.size()) < (qint64(first) + 1 + qint64(count)) * kWord)
        return false;
    indexes.reserve(count);
    for (quint32 i = 0; i < count; ++i)
        indexes.append(wordAt(block, first + 1 + i));
    return true;
}

} // namespace

const char *ClipboardFormatName(ClipboardFormat format)
{
    return format >= 0 && format < CLIPBOARD_FORMAT_COUNT ? kFormatNames[format] : "";
}

QString ClipboardMimeType(const char *formatName)
{
    return QStringLiteral("application/x-") + QString::fromLatin1(formatName);
}

QString ClipboardMimeType(ClipboardFormat format)
{
    return ClipboardMimeType(ClipboardFormatName(format));
}

ClipboardFormat PlaylistCopyFormat(int type)
{
    return type == CONTENT_PLAYLIST ? CLIPBOARD_PLAYLIST_COPY : CLIPBOARD_BGM_LIST_COPY;
}

QByteArray MakeContentsDataBlock(int type, const QList<qint32> &numbers)
{
    constexpr int kRecordWords = 12;
    QByteArray block;
    block.reserve(numbers.size() * kRecordWords * kWord);
    for (qint32 number : numbers) {
        appendWord(block, 0);
        appendWord(block, quint32(type));
        appendWord(block, quint32(number));
        for (int i = 3; i < kRecordWords; ++i)
            appendWord(block, 0);
    }
    return block;
}

QList<DraggedContent> ReadContentsDataBlock(const QByteArray &block)
{
    constexpr int kRecordBytes = 12 * kWord;
    QList<DraggedContent> contents;
    if (block.isEmpty() || block.size() % kRecordBytes != 0)
        return contents;
    for (qsizetype record = 0; record < block.size() / kRecordBytes; ++record)
        contents.append({int(wordAt(block, record * 12 + 1)), qint32(wordAt(block, record * 12 + 2))});
    return contents;
}

QByteArray MakeGridEventBlock(int row, int track)
{
    QByteArray block;
    appendWord(block, quint32(row));
    appendWord(block, quint32(track));
    return block;
}

bool ReadGridEventBlock(const QByteArray &block, int &row, int &track)
{
    if (block.size() != 2 * kWord)
        return false;
    row = int(wordAt(block, 0));
    track = int(wordAt(block, 1));
    return true;
}

QByteArray MakePlaylistCopyBlock(const QList<quint32> &indexes)
{
    QByteArray block;
    block.reserve((1 + indexes.size()) * kWord);
    appendWord(block, quint32(indexes.size()));
    for (quint32 index : indexes)
        appendWord(block, index);
    return block;
}

bool ReadPlaylistCopyBlock(const QByteArray &block, qsizetype listCount, QList<quint32> &indexes)
{
    if (readCountedIndexes(block, 0, indexes) && AreIndexesBelow(indexes, listCount))
        return true;
    indexes.clear();
    return false;
}

QByteArray MakeScheduleCopyBlock(const ScheduleCopyBlock &copy)
{
    QByteArray block;
    block.reserve((kScheduleHeaderWords + 1 + copy.indexes.size()) * kWord);
    appendWord(block, copy.groupNumber);
    appendWord(block, copy.resolutionId);
    appendWord(block, copy.orientation);
    appendWord(block, quint32(copy.indexes.size()));
    for (quint32 index : copy.indexes)
        appendWord(block, index);
    return block;
}

bool ReadScheduleCopyBlock(const QByteArray &block, ScheduleCopyBlock &copy)
{
    copy = ScheduleCopyBlock();
    if (!readCountedIndexes(block, kScheduleHeaderWords, copy.indexes))
        return false;
    copy.groupNumber = wordAt(block, 0);
    copy.resolutionId = wordAt(block, 1);
    copy.orientation = wordAt(block, 2);
    return true;
}

bool AreIndexesBelow(const QList<quint32> &indexes, qsizetype count)
{
    for (quint32 index : indexes) {
        if (qint64(index) >= qint64(count))
            return false;
    }
    return true;
}

bool PutClipboardBlock(ClipboardFormat format, const QByteArray &block)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    auto *data = new QMimeData;
    data->setData(ClipboardMimeType(format), block);
    clipboard->setMimeData(data); // the clipboard owns the data from here
    return true;
}

QByteArray GetClipboardBlock(ClipboardFormat format)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    return data ? data->data(ClipboardMimeType(format)) : QByteArray();
}

bool CopyPlaylistSelection(int type, const QList<quint32> &indexes)
{
    return PutClipboardBlock(PlaylistCopyFormat(type), MakePlaylistCopyBlock(indexes));
}

bool CopyScheduleSelection(const CQ9GroupXml &groups, const QString &groupName, const QList<quint32> &indexes)
{
    CGroupRecord group;
    const int position = groups.FindGroupByName(groupName);
    if (position < 0 || !groups.GetGroup(position, group))
        return false;
    ScheduleCopyBlock copy;
    copy.groupNumber = quint32(group.Number);
    copy.resolutionId = quint32(group.ResolutionId);
    copy.orientation = quint32(group.Orientation);
    copy.indexes = indexes;
    return PutClipboardBlock(CLIPBOARD_SCHEDULE_COPY, MakeScheduleCopyBlock(copy));
}
