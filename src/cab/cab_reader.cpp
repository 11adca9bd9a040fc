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

// Reads a range of the cabinet front to back in large chunks, so a folder's
// data blocks cost one read per chunk rather than a seek and reads per block.
class CCabReader::ChunkedInput {
public:
    // The buffer is no larger than the range, so many small folders do not
    // each cost a whole chunk.
    ChunkedInput(QIODevice &device, qint64 start, qint64 end)
        : m_device(device), m_position(start), m_end(end),
          m_capacity(qsizetype(std::clamp<qint64>(end - start, 0, kChunk + kMaxTake))),
          m_buffer(std::make_unique_for_overwrite<char[]>(size_t(m_capacity)))
    {
    }

    // Points data at the next size bytes of the range and moves past them.
    // The bytes stay valid until the next call. False when the range or the
    // device holds fewer.
    bool Take(qsizetype size, const char *&data)
    {
        if (size < 0 || size > kMaxTake || (m_length - m_used < size && !refill(size)))
            return false;
        data = m_buffer.get() + m_used;
        m_used += size;
        return true;
    }

private:
    static constexpr qsizetype kChunk = 1 << 20;
    // A data block with the largest reserved area, header included.
    static constexpr qsizetype kMaxTake = cab::kDataHeaderSize + 255 + cab::kMaxCompressedBlock;

    // Moves the unread rest to the front and fills the buffer after it.
    bool refill(qsizetype size)
    {
        const qsizetype rest = m_length - m_used;
        std::memmove(m_buffer.get(), m_buffer.get() + m_used, size_t(rest));
        m_used = 0;
        m_length = rest;
        const qint64 want = std::min<qint64>(m_capacity - rest, m_end - m_position);
        if (rest + want < size || !m_device.seek(m_position)
            || m_device.read(m_buffer.get() + rest, want) != want) {
            return false;
        }
        m_position += want;
        m_length += want;
        return true;
    }

    QIODevice &m_device;
    qint64 m_position; // of the first byte not yet in the buffer
    qint64 m_end;
    qsizetype m_capacity;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_used = 0;   // bytes of the buffer already taken
    qsizetype m_length = 0; // bytes of the buffer filled
};

// Decodes one folder's data blocks in order, keeping the current block.
class CCabReader::FolderDecoder {
public:
    FolderDecoder(CCabReader &reader, const Folder &folder)
        : m_reader(reader), m_folder(folder), m_input(reader.m_device, folder.dataOffset, folder.dataEnd)
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
            const CabResult result = sink.WriteMember(m_block.sliced(need - m_blockStart, take));
            if (result != CAB_OK)
                return result;
            need += take;
        }
        return CAB_OK;
    }

private:
    // Open checked the blocks; a failure here means the device changed since.
    CabResult nextBlock()
    {
        const char *header = nullptr;
        const char *packed = nullptr;
        if (m_blockIndex >= m_folder.blocks || !m_input.Take(cab::kDataHeaderSize + m_reader.m_dataReserve, header))
            return CAB_ERR_DATA;
        BlockHeader block;
        if (!m_reader.parseBlockHeader(header, block) || !m_input.Take(block.packedSize, packed))
            return CAB_ERR_DATA;
        ++m_blockIndex;
        m_blockStart += m_block.size();
        const QByteArrayView data(packed, block.packedSize);
        // A zero checksum means none was computed.
        if (block.checksum != 0 && block.checksum != cab::DataBlockChecksum(data, quint16(block.size)))
            return CAB_ERR_DATA;
        return unpack(data, block.size) ? CAB_OK : CAB_ERR_DATA;
    }

    // A stored block is passed on from the input buffer as it stands.
    bool unpack(QByteArrayView packed, int size)
    {
        if (m_folder.compression == cab::kCompressNone) {
            m_block = packed;
            return packed.size() == size;
        }
        if (!m_decompressor.isValid() || !m_decompressor.Decompress(packed, size, m_unpacked))
            return false;
        m_block = m_unpacked;
        return true;
    }

    CCabReader &m_reader;
    const Folder &m_folder;
    ChunkedInput m_input;
    CMsZipDecompressor m_decompressor;
    int m_blockIndex = 0;     // blocks read so far
    qint64 m_blockStart = 0;  // stream offset of m_block
    QByteArrayView m_block;   // the current block's bytes, in m_unpacked or m_input
    QByteArray m_unpacked;
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
    return readAt(position, cab::kDataHeaderSize + m_dataReserve, header) && parseBlockHeader(header.constData(), block)
        && position + block.headerSize + block.packedSize <= m_cabinetSize;
}

bool CCabReader::parseBlockHeader(const char *header, BlockHeader &block) const
{
    block.headerSize = cab::kDataHeaderSize + m_dataReserve;
    block.checksum = cab::ReadLe32(header);
    block.packedSize = cab::ReadLe16(header + 4);
    block.size = cab::ReadLe16(header + 6);
    return block.packedSize <= cab::kMaxCompressedBlock && block.size <= cab::kBlockSize;
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
