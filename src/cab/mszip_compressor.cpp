#include "cab/mszip_compressor.h"

#include "cab/cab_format.h"

#include <cstring>

namespace {
// Raw deflate (no zlib header) with the full 32 KiB window MSZIP uses.
constexpr int kRawDeflateWindowBits = -15;
constexpr int kMemLevel = 8;
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
