#include "cab/mszip_compressor.h"

#include "cab/cab_format.h"

#include <array>
#include <cmath>
#include <cstring>

namespace {
// Raw deflate (no zlib header) with the full 32 KiB window MSZIP uses.
constexpr int kRawDeflateWindowBits = -15;
constexpr int kMemLevel = 8;

// Already-compressed data (video, JPEG, archives) gains nothing from deflate
// but costs its whole match search. Blocks whose byte distribution is this
// close to uniform are stored instead: H.264 video measures 7.990 to 7.995
// bits per byte and deflates to 99.9-100.05 %; text is near 5.
constexpr double kStoreEntropyBits = 7.98;
// Below this the byte counts say too little, and compressing is cheap anyway.
constexpr qsizetype kMinStoreCheckBytes = 4096;

bool LooksIncompressible(QByteArrayView block)
{
    if (block.size() < kMinStoreCheckBytes)
        return false;
    std::array<quint32, 256> counts {};
    for (char c : block)
        ++counts[quint8(c)];
    double entropy = 0;
    for (quint32 count : counts) {
        if (count > 0) {
            const double p = double(count) / double(block.size());
            entropy -= p * std::log2(p);
        }
    }
    return entropy > kStoreEntropyBits;
}

// One final deflate block of type "stored": a header byte with BFINAL set and
// BTYPE 0 (its padding bits zero), LEN and its complement, then the bytes.
void StoreBlock(QByteArrayView block, QByteArray &out)
{
    constexpr char kFinalStoredBlock = 0x01;
    const quint16 length = quint16(block.size());
    out.resize(qsizetype(sizeof cab::kMsZipSignature) + 5 + block.size());
    char *p = out.data();
    std::memcpy(p, cab::kMsZipSignature, sizeof cab::kMsZipSignature);
    p += sizeof cab::kMsZipSignature;
    *p++ = kFinalStoredBlock;
    cab::WriteLe16(p, length);
    cab::WriteLe16(p + 2, quint16(~length));
    std::memcpy(p + 4, block.data(), block.size());
}
} // namespace

CMsZipCompressor::CMsZipCompressor()
{
    m_ready = deflateInit2(&m_stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kRawDeflateWindowBits, kMemLevel,
                           Z_DEFAULT_STRATEGY)
        == Z_OK;
}

CMsZipCompressor::~CMsZipCompressor()
{
    if (m_ready)
        deflateEnd(&m_stream);
}

bool CMsZipCompressor::Compress(QByteArrayView dictionary, QByteArrayView block, QByteArray &out)
{
    if (!m_ready || block.size() > cab::kBlockSize || dictionary.size() > cab::kBlockSize)
        return false;
    if (LooksIncompressible(block)) {
        StoreBlock(block, out);
        return true;
    }
    if (deflateReset(&m_stream) != Z_OK)
        return false;
    if (!dictionary.isEmpty()
        && deflateSetDictionary(&m_stream, reinterpret_cast<const Bytef *>(dictionary.data()),
                                uInt(dictionary.size()))
            != Z_OK) {
        return false;
    }

    const uLong bound = deflateBound(&m_stream, uLong(block.size()));
    out.resize(qsizetype(sizeof cab::kMsZipSignature + bound));
    std::memcpy(out.data(), cab::kMsZipSignature, sizeof cab::kMsZipSignature);

    m_stream.next_in = const_cast<Bytef *>(reinterpret_cast<const Bytef *>(block.data()));
    m_stream.avail_in = uInt(block.size());
    m_stream.next_out = reinterpret_cast<Bytef *>(out.data() + sizeof cab::kMsZipSignature);
    m_stream.avail_out = uInt(bound);
    // Z_FINISH ends the block's stream with a final deflate block, as each
    // MSZIP block must; deflateBound guarantees it fits in one call.
    if (deflate(&m_stream, Z_FINISH) != Z_STREAM_END)
        return false;
    out.resize(qsizetype(sizeof cab::kMsZipSignature + m_stream.total_out));
    return out.size() <= cab::kMaxCompressedBlock;
}
