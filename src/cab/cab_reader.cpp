#include "cab/cab_reader.h"

#include "cab/cab_format.h"
#include "cab/mszip_decompressor.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>

namespace {

constexpr int kReserveFieldsSize = 4; // cbCFHeader, cbCFFolder, cbCFData
constexpr int kMaxNameField = cab::kMaxNameBytes + 1;
// Names without the UTF-8 attribute are in the writer's code page; the
// cabinets this system meets come from Japanese Windows.
constexpr const char *kLegacyNameEncoding = "windows-31j";

bool DecodeName(const QByteArray &raw, bool utf8, QString &name)
{
    QStringDecoder decoder = utf8 ? QStringDecoder(QStringDecoder::Utf8) : QStringDecoder(kLegacyNameEncoding);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Latin1);
    name = decoder(raw);
    return !decoder.hasError() && !name.isEmpty();
}

} // namespace

// Decodes one folder's data blocks in order, keeping the current block.
class CCabReader::FolderDecoder {
public:
    FolderDecoder(CCabReader &reader, const Folder &folder)
        : m_reader(reader), m_folder(folder), m_position(folder.dataOffset)
    {
    }

    // Passes bytes [offset, offset + size) of the folder's stream to the sink.
    // Members come in ascending offsets, so the stream only moves forward.
    CabResult Copy(quint32 offset, quint32 size, CCabSink &sink)
    {
        qint64 need = offset;
        const qint64 end = qint64(offset) + size;
        while (need < end) {
            const qint64 blockEnd = m_blockStart + m_block.size();
            if (need >= blockEnd) {
                const CabResult result = nextBlock();
                if (result != CAB_OK)
                    return result;
                continue;
            }
            const qint64 take = std::min(end, blockEnd) - need;
            const CabResult result
                = sink.WriteMember(QByteArrayView(m_block.constData() + (need - m_blockStart), take));
            if (result != CAB_OK)
                return result;
            need += take;
        }
        return CAB_OK;
    }

private:
    CabResult nextBlock()
    {
        BlockHeader block;
        if (m_blockIndex >= m_folder.blocks || !m_reader.readBlockHeader(m_position, block))
            return CAB_ERR_DATA; // Open checked the blocks; the device changed since
        ++m_blockIndex;
        m_blockStart += m_block.size();
        QByteArray packed;
        if (!m_reader.readAt(m_position + block.headerSize, block.packedSize, packed))
            return CAB_ERR_DATA;
        m_position += block.headerSize + block.packedSize;
        // A zero checksum means none was computed.
        if (block.checksum != 0 && block.checksum != cab::DataBlockChecksum(packed, quint16(block.size)))
            return CAB_ERR_DATA;
        return unpack(packed, block.size) ? CAB_OK : CAB_ERR_DATA;
    }

    bool unpack(const QByteArray &packed, int size)
    {
        if (m_folder.compression == cab::kCompressNone) {
            m_block = packed;
            return packed.size() == size;
        }
        return m_decompressor.isValid() && m_decompressor.Decompress(packed, size, m_block);
    }

    CCabReader &m_reader;
    const Folder &m_folder;
    CMsZipDecompressor m_decompressor;
    qint64 m_position;        // of the next data block in the cabinet
    int m_blockIndex = 0;     // blocks read so far
    qint64 m_blockStart = 0;  // stream offset of m_block
    QByteArray m_block;
};

CCabReader::CCabReader(QIODevice &device) : m_device(device) {}

bool CCabReader::readAt(qint64 position, qint64 size, QByteArray &out)
{
    if (position < 0 || size < 0 || position + size > m_cabinetSize || !m_device.seek(position))
        return false;
    out = m_device.read(size);
    return out.size() == size;
}

bool CCabReader::readBlockHeader(qint64 position, BlockHeader &block)
{
    QByteArray header;
    block.headerSize = cab::kDataHeaderSize + m_dataReserve;
    if (!readAt(position, block.headerSize, header))
        return false;
    block.checksum = cab::ReadLe32(header.constData());
    block.packedSize = cab::ReadLe16(header.constData() + 4);
    block.size = cab::ReadLe16(header.constData() + 6);
    return block.packedSize <= cab::kMaxCompressedBlock && block.size <= cab::kBlockSize
        && position + block.headerSize + block.packedSize <= m_cabinetSize;
}

CabResult CCabReader::Open()
{
    m_folders.clear();
    m_members.clear();
    m_folderReserve = 0;
    m_dataReserve = 0;
    QByteArray header;
    qint64 position = 0;
    CabResult result = readHeader(header, position);
    if (result == CAB_OK)
        result = readFolders(position, cab::ReadLe16(header.constData() + cab::kHeaderFolderCount));
    if (result == CAB_OK)
        result = checkFolderData();
    if (result == CAB_OK)
        result = readFiles(cab::ReadLe32(header.constData() + cab::kHeaderFilesOffset),
                           cab::ReadLe16(header.constData() + cab::kHeaderFileCount));
    if (result == CAB_OK)
        result = checkMembers();
    if (result != CAB_OK) {
        m_folders.clear();
        m_members.clear();
    }
    return result;
}

CabResult CCabReader::readHeader(QByteArray &header, qint64 &position)
{
    if (!m_device.seek(0))
        return CAB_ERR_CABINET_OPEN;
    header = m_device.read(cab::kHeaderSize);
    const qsizetype signatureBytes = std::min<qsizetype>(header.size(), sizeof cab::kSignature);
    if (header.isEmpty() || std::memcmp(header.constData(), cab::kSignature, signatureBytes) != 0)
        return CAB_ERR_NOT_CABINET;
    if (header.size() < cab::kHeaderSize)
        return CAB_ERR_TRUNCATED;
    if (quint8(header[cab::kHeaderVersionMajor]) != cab::kVersionMajor)
        return CAB_ERR_NOT_CABINET;
    const qint64 declaredSize = cab::ReadLe32(header.constData() + cab::kHeaderCabinetSize);
    if (declaredSize > m_device.size())
        return CAB_ERR_TRUNCATED;
    if (declaredSize < cab::kHeaderSize)
        return CAB_ERR_CORRUPT;
    m_cabinetSize = declaredSize;

    const quint16 flags = cab::ReadLe16(header.constData() + cab::kHeaderFlags);
    if (flags & (cab::kFlagPreviousCabinet | cab::kFlagNextCabinet))
        return CAB_ERR_UNSUPPORTED;
    position = cab::kHeaderSize;
    if (flags & cab::kFlagReservePresent) {
        QByteArray reserve;
        if (!readAt(position, kReserveFieldsSize, reserve))
            return CAB_ERR_CORRUPT;
        m_folderReserve = quint8(reserve[2]);
        m_dataReserve = quint8(reserve[3]);
        position += kReserveFieldsSize + cab::ReadLe16(reserve.constData());
    }
    return CAB_OK;
}

CabResult CCabReader::readFolders(qint64 position, int count)
{
    const int entrySize = cab::kFolderEntrySize + m_folderReserve;
    QByteArray entries;
    if (!readAt(position, qint64(count) * entrySize, entries))
        return CAB_ERR_CORRUPT;
    // Blocks of different folders may not share bytes (checked once all are
    // walked), so more blocks than the cabinet has room for are refused before
    // any is read.
    qint64 totalBlocks = 0;
    for (int i = 0; i < count; ++i) {
        const char *p = entries.constData() + qsizetype(i) * entrySize;
        Folder folder;
        folder.dataOffset = cab::ReadLe32(p);
        folder.blocks = cab::ReadLe16(p + 4);
        folder.compression = cab::ReadLe16(p + 6) & cab::kCompressTypeMask;
        if (folder.compression != cab::kCompressNone && folder.compression != cab::kCompressMsZip)
            return CAB_ERR_UNSUPPORTED;
        totalBlocks += folder.blocks;
        if (totalBlocks * cab::kDataHeaderSize > m_cabinetSize)
            return CAB_ERR_CORRUPT;
        const CabResult result = walkBlocks(folder);
        if (result != CAB_OK)
            return result;
        m_folders.append(folder);
    }
    return CAB_OK;
}

CabResult CCabReader::walkBlocks(Folder &folder)
{
    qint64 position = folder.dataOffset;
    for (int i = 0; i < folder.blocks; ++i) {
        BlockHeader block;
        if (!readBlockHeader(position, block))
            return CAB_ERR_CORRUPT;
        position += block.headerSize + block.packedSize;
        folder.streamBytes += block.size;
    }
    folder.dataEnd = position;
    return CAB_OK;
}

CabResult CCabReader::checkFolderData() const
{
    // Each folder's blocks lie in their own part of the cabinet, so the total
    // decoding work stays within what the cabinet's bytes can carry.
    QList<const Folder *> byOffset;
    for (const Folder &folder : m_folders) {
        if (folder.blocks > 0)
            byOffset.append(&folder);
    }
    std::sort(byOffset.begin(), byOffset.end(),
              [](const Folder *a, const Folder *b) { return a->dataOffset < b->dataOffset; });
    for (qsizetype i = 1; i < byOffset.size(); ++i) {
        if (byOffset.at(i)->dataOffset < byOffset.at(i - 1)->dataEnd)
            return CAB_ERR_CORRUPT;
    }
    return CAB_OK;
}

CabResult CCabReader::readFiles(qint64 position, int count)
{
    for (int i = 0; i < count; ++i) {
        QByteArray entry;
        if (!readAt(position, cab::kFileEntrySize, entry))
            return CAB_ERR_CORRUPT;
        position += cab::kFileEntrySize;
        QByteArray nameField;
        if (!readAt(position, std::min<qint64>(kMaxNameField, m_cabinetSize - position), nameField))
            return CAB_ERR_CORRUPT;
        const qsizetype nameLength = nameField.indexOf('\0');
        if (nameLength < 0)
            return CAB_ERR_CORRUPT; // unterminated or longer than a name may be
        position += nameLength + 1;

        CabMember member;
        const char *p = entry.constData();
        member.size = cab::ReadLe32(p);
        member.offset = cab::ReadLe32(p + 4);
        member.folder = cab::ReadLe16(p + 8);
        member.modified = cab::FromDosDateTime({cab::ReadLe16(p + 10), cab::ReadLe16(p + 12)});
        member.attributes = cab::ReadLe16(p + 14);
        if (member.folder >= cab::kFolderContinuedFirst)
            return CAB_ERR_UNSUPPORTED; // continued from or into another cabinet
        if (!DecodeName(nameField.left(nameLength), member.attributes & cab::kAttribNameIsUtf8, member.name))
            return CAB_ERR_CORRUPT;
        m_members.append(member);
    }
    return CAB_OK;
}

CabResult CCabReader::checkMembers() const
{
    for (const CabMember &member : std::as_const(m_members)) {
        if (member.folder >= m_folders.size())
            return CAB_ERR_CORRUPT;
        if (qint64(member.offset) + member.size > m_folders.at(member.folder).streamBytes)
            return CAB_ERR_CORRUPT;
    }
    // Members of a folder must not share bytes: each stream is decoded once,
    // front to back.
    const QList<int> order = streamOrder();
    for (qsizetype i = 1; i < order.size(); ++i) {
        const CabMember &previous = m_members.at(order.at(i - 1));
        const CabMember &current = m_members.at(order.at(i));
        if (current.folder == previous.folder && current.size > 0
            && current.offset < qint64(previous.offset) + previous.size) {
            return CAB_ERR_CORRUPT;
        }
    }
    return CAB_OK;
}

QList<int> CCabReader::streamOrder() const
{
    QList<int> order(m_members.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        const CabMember &x = m_members.at(a);
        const CabMember &y = m_members.at(b);
        return x.folder != y.folder ? x.folder < y.folder : x.offset < y.offset;
    });
    return order;
}

CabResult CCabReader::Extract(CCabSink &sink)
{
    const QList<int> order = streamOrder();
    std::unique_ptr<FolderDecoder> decoder;
    int decoderFolder = -1;
    for (int index : order) {
        const CabMember &member = m_members.at(index);
        if (member.folder != decoderFolder) {
            decoder = std::make_unique<FolderDecoder>(*this, m_folders.at(member.folder));
            decoderFolder = member.folder;
        }
        CabResult result = sink.BeginMember(member);
        if (result == CAB_OK)
            result = decoder->Copy(member.offset, member.size, sink);
        if (result == CAB_OK)
            result = sink.EndMember();
        if (result != CAB_OK)
            return result;
    }
    return CAB_OK;
}
