#include "cab/cab_writer.h"
#include "core/atomic_file.h"

#include "cab/mszip_compressor.h"

#include <QFile>
#include <QThread>

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int kMaxThreads = 8;
// Blocks each thread compresses per batch; a batch is read, compressed and
// written before the next is read.
constexpr int kBlocksPerThread = 8;

struct PlannedFile {
    QByteArray name;
    quint16 attributes = 0;
    quint16 folder = 0;
    quint32 offset = 0; // inside the folder's uncompressed stream
    quint32 size = 0;
    cab::DosDateTime stamp;
};

struct PlannedFolder {
    int first = 0; // index of its first file
    int count = 0;
    qint64 bytes = 0;
    quint32 dataOffset = 0; // of its first data block in the cabinet
    quint16 blocks = 0;
};

struct Plan {
    QList<PlannedFile> files;
    QList<PlannedFolder> folders;
};

bool IsAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

CabResult PlanFile(const CabSourceFile &source, PlannedFile &file)
{
    if (source.size < 0 || source.size > cab::kMaxFolderBytes)
        return CAB_ERR_TOO_LARGE;
    file.name = source.memberName.toUtf8();
    if (file.name.isEmpty() || file.name.size() > cab::kMaxNameBytes)
        return CAB_ERR_NAME_TOO_LONG;
    file.attributes = source.attributes & quint16(~cab::kAttribNameIsUtf8);
    if (!IsAscii(source.memberName))
        file.attributes |= cab::kAttribNameIsUtf8;
    file.size = quint32(source.size);
    file.stamp = cab::ToDosDateTime(source.modified);
    return CAB_OK;
}

CabResult MakePlan(const QList<CabSourceFile> &sources, qint64 folderLimit, Plan &plan)
{
    if (sources.size() > cab::kMaxFiles)
        return CAB_ERR_TOO_LARGE;
    for (const CabSourceFile &source : sources) {
        PlannedFile file;
        const CabResult result = PlanFile(source, file);
        if (result != CAB_OK)
            return result;
        if (plan.folders.isEmpty() || plan.folders.last().bytes + source.size > folderLimit) {
            if (plan.folders.isEmpty() || plan.folders.last().count > 0)
                plan.folders.append(PlannedFolder {int(plan.files.size()), 0, 0, 0, 0});
        }
        PlannedFolder &folder = plan.folders.last();
        file.folder = quint16(plan.folders.size() - 1);
        file.offset = quint32(folder.bytes);
        folder.bytes += source.size;
        ++folder.count;
        plan.files.append(file);
    }
    return CAB_OK;
}

qint64 HeaderBytes(const Plan &plan)
{
    qint64 bytes = cab::kHeaderSize + qint64(plan.folders.size()) * cab::kFolderEntrySize;
    for (const PlannedFile &file : plan.files)
        bytes += cab::kFileEntrySize + file.name.size() + 1;
    return bytes;
}

QByteArray EncodeHeaders(const Plan &plan, quint32 cabinetSize)
{
    QByteArray out(HeaderBytes(plan), '\0');
    char *p = out.data();
    std::copy(std::begin(cab::kSignature), std::end(cab::kSignature), p);
    cab::WriteLe32(p + cab::kHeaderCabinetSize, cabinetSize);
    cab::WriteLe32(p + cab::kHeaderFilesOffset,
                   quint32(cab::kHeaderSize + plan.folders.size() * cab::kFolderEntrySize));
    p[cab::kHeaderVersionMinor] = char(cab::kVersionMinor);
    p[cab::kHeaderVersionMajor] = char(cab::kVersionMajor);
    cab::WriteLe16(p + cab::kHeaderFolderCount, quint16(plan.folders.size()));
    cab::WriteLe16(p + cab::kHeaderFileCount, quint16(plan.files.size()));
    p += cab::kHeaderSize;
    for (const PlannedFolder &folder : plan.folders) {
        cab::WriteLe32(p, folder.dataOffset);
        cab::WriteLe16(p + 4, folder.blocks);
        cab::WriteLe16(p + 6, cab::kCompressMsZip);
        p += cab::kFolderEntrySize;
    }
    for (const PlannedFile &file : plan.files) {
        cab::WriteLe32(p, file.size);
        cab::WriteLe32(p + 4, file.offset);
        cab::WriteLe16(p + 8, file.folder);
        cab::WriteLe16(p + 10, file.stamp.date);
        cab::WriteLe16(p + 12, file.stamp.time);
        cab::WriteLe16(p + 14, file.attributes);
        std::copy(file.name.begin(), file.name.end(), p + cab::kFileEntrySize);
        p += cab::kFileEntrySize + file.name.size() + 1;
    }
    return out;
}

// Reads the files of one folder as one stream, each file for exactly the size
// it had when it was listed.
class FolderInput {
public:
    FolderInput(const QList<CabSourceFile> &sources, const PlannedFolder &folder)
        : m_sources(sources), m_next(folder.first), m_end(folder.first + folder.count)
    {
    }

    // Fills want bytes; false when a file cannot be opened or ends early.
    bool Read(char *out, qint64 want)
    {
        while (want > 0) {
            if (!m_file.isOpen() && !openNext())
                return false;
            const qint64 got = m_file.read(out, std::min(want, m_left));
            if (got <= 0)
                return false;
            out += got;
            want -= got;
            m_left -= got;
            if (m_left == 0)
                m_file.close();
        }
        return true;
    }

private:
    bool openNext()
    {
        // Empty files take no bytes of the stream.
        while (m_next < m_end && m_sources.at(m_next).size == 0)
            ++m_next;
        if (m_next >= m_end)
            return false;
        const CabSourceFile &source = m_sources.at(m_next++);
        m_file.setFileName(source.path);
        m_left = source.size;
        return m_file.open(QIODevice::ReadOnly);
    }

    const QList<CabSourceFile> &m_sources;
    int m_next;
    int m_end;
    QFile m_file;
    qint64 m_left = 0;
};

// A batch of raw blocks with the block before them as slot 0, so that every
// block's dictionary lies just before it.
class BlockBatch {
public:
    explicit BlockBatch(int capacity)
        : m_raw(qsizetype(capacity + 1) * cab::kBlockSize, '\0'), m_sizes(capacity + 1, 0),
          m_compressed(capacity), m_capacity(capacity)
    {
    }

    int capacity() const { return m_capacity; }
    int count() const { return m_count; }
    char *slot(int block) { return m_raw.data() + qsizetype(block + 1) * cab::kBlockSize; }
    void setSize(int block, int size) { m_sizes[block + 1] = size; }
    void setCount(int count) { m_count = count; }
    int size(int block) const { return m_sizes[block + 1]; }
    QByteArrayView raw(int block) const
    {
        return QByteArrayView(m_raw.constData() + qsizetype(block + 1) * cab::kBlockSize, m_sizes[block + 1]);
    }
    QByteArray &compressed(int block) { return m_compressed[block]; }

    // The last block becomes the dictionary of the next batch.
    void carryOver()
    {
        if (m_count == 0)
            return;
        std::copy_n(slot(m_count - 1), m_sizes[m_count], m_raw.data());
        m_sizes[0] = m_sizes[m_count];
        m_count = 0;
    }

    void startFolder()
    {
        m_sizes[0] = 0;
        m_count = 0;
    }

private:
    QByteArray m_raw;
    std::vector<int> m_sizes;
    std::vector<QByteArray> m_compressed;
    int m_capacity;
    int m_count = 0;
};

// Compresses a batch with one compressor per thread; block i goes to thread
// i mod n, so each thread's work is fixed before it starts.
class BatchCompressor {
public:
    explicit BatchCompressor(int threads)
    {
        for (int i = 0; i < threads; ++i)
            m_compressors.push_back(std::make_unique<CMsZipCompressor>());
    }

    bool isValid() const
    {
        return std::all_of(m_compressors.begin(), m_compressors.end(), [](const auto &c) { return c->isValid(); });
    }

    bool Compress(BlockBatch &batch)
    {
        const int threads = std::min<int>(int(m_compressors.size()), batch.count());
        if (threads <= 1)
            return compressShare(batch, 0, 1);
        std::vector<char> ok(threads, 0);
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t)
            workers.emplace_back([&, t] { ok[t] = compressShare(batch, t, threads); });
        for (std::thread &worker : workers)
            worker.join();
        return std::all_of(ok.begin(), ok.end(), [](char v) { return v != 0; });
    }

private:
    bool compressShare(BlockBatch &batch, int first, int step)
    {
        CMsZipCompressor &compressor = *m_compressors[first];
        for (int i = first; i < batch.count(); i += step) {
            if (!compressor.Compress(batch.raw(i - 1), batch.raw(i), batch.compressed(i)))
                return false;
        }
        return true;
    }

    std::vector<std::unique_ptr<CMsZipCompressor>> m_compressors;
};

class CabinetOutput {
public:
    explicit CabinetOutput(CAtomicFile &file) : m_file(file) {}

    qint64 position() const { return m_position; }

    bool Append(const char *data, qint64 size)
    {
        m_position += size;
        return m_position <= cab::kMaxCabinetBytes && m_file.write(data, size) == size;
    }

    bool AppendBlock(QByteArrayView compressed, int uncompressedSize)
    {
        char header[cab::kDataHeaderSize];
        cab::WriteLe32(header, cab::DataBlockChecksum(compressed, quint16(uncompressedSize)));
        cab::WriteLe16(header + 4, quint16(compressed.size()));
        cab::WriteLe16(header + 6, quint16(uncompressedSize));
        return Append(header, sizeof header) && Append(compressed.data(), compressed.size());
    }

private:
    CAtomicFile &m_file;
    qint64 m_position = 0;
};

CabResult WriteFolder(const QList<CabSourceFile> &sources, PlannedFolder &folder, BlockBatch &batch,
                      BatchCompressor &compressor, CabinetOutput &output)
{
    folder.dataOffset = quint32(output.position());
    FolderInput input(sources, folder);
    batch.startFolder();
    qint64 remaining = folder.bytes;
    while (remaining > 0) {
        int count = 0;
        for (; count < batch.capacity() && remaining > 0; ++count) {
            const int size = int(std::min<qint64>(remaining, cab::kBlockSize));
            if (!input.Read(batch.slot(count), size))
                return CAB_ERR_SOURCE_READ;
            batch.setSize(count, size);
            remaining -= size;
        }
        batch.setCount(count);
        if (!compressor.Compress(batch))
            return CAB_ERR_COMPRESS;
        for (int i = 0; i < count; ++i) {
            if (!output.AppendBlock(batch.compressed(i), batch.size(i)))
                return output.position() > cab::kMaxCabinetBytes ? CAB_ERR_TOO_LARGE : CAB_ERR_CABINET_WRITE;
        }
        folder.blocks = quint16(folder.blocks + count);
        batch.carryOver();
    }
    return CAB_OK;
}

int ThreadCount(int requested)
{
    if (requested > 0)
        return std::min(requested, kMaxThreads);
    return std::clamp(QThread::idealThreadCount(), 1, kMaxThreads);
}

} // namespace

CCabWriter::CCabWriter(qint64 folderLimit, int threads)
    : m_folderLimit(std::clamp<qint64>(folderLimit, 1, cab::kMaxFolderBytes)), m_threads(ThreadCount(threads))
{
}

CabResult CCabWriter::Write(const QList<CabSourceFile> &files, const QString &cabinetPath)
{
    Plan plan;
    CabResult result = MakePlan(files, m_folderLimit, plan);
    if (result != CAB_OK)
        return result;

    BatchCompressor compressor(m_threads);
    if (!compressor.isValid())
        return CAB_ERR_COMPRESS;
    BlockBatch batch(m_threads * kBlocksPerThread);

    // A private cabinet is so from its first byte, also over an existing
    // cabinet that others could read.
    CAtomicFile file(cabinetPath, m_ownerOnly ? FileAccess::OwnerOnly : FileAccess::KeepMode);
    if (!file.open(QIODevice::WriteOnly))
        return CAB_ERR_CABINET_WRITE;
    CabinetOutput output(file);
    // The headers hold sizes and offsets known only at the end: reserve their
    // room, write the data, then fill them in.
    if (!output.Append(QByteArray(HeaderBytes(plan), '\0').constData(), HeaderBytes(plan)))
        return CAB_ERR_CABINET_WRITE;
    for (PlannedFolder &folder : plan.folders) {
        result = WriteFolder(files, folder, batch, compressor, output);
        if (result != CAB_OK)
            return result;
    }
    const QByteArray headers = EncodeHeaders(plan, quint32(output.position()));
    // A buffered write that failed (full disk) shows only in flush, which
    // the commit checks before the rename.
    if (!file.flush() || !file.seek(0) || file.write(headers) != headers.size() || !file.Commit())
        return CAB_ERR_CABINET_WRITE;
    return CAB_OK;
}
