#include "cab/mszip_decompressor.h"

#include "cab/cab_format.h"

#include <cstring>

namespace {
constexpr int kRawInflateWindowBits = -15;
}

CMsZipDecompressor::CMsZipDecompressor()
{
    m_ready = inflateInit2(&m_stream, kRawInflateWindowBits) == Z_OK;
}

CMsZipDecompressor::~CMsZipDecompressor()
{
    if (m_ready)
        inflateEnd(&m_stream);
}

void CMsZipDecompressor::StartFolder()
{
    m_history.clear();
}

bool CMsZipDecompressor::Decompress(QByteArrayView block, int expectedSize, QByteArray &out)
{
    const qsizetype signatureSize = sizeof cab::kMsZipSignature;
    if (!m_ready || expectedSize < 0 || expectedSize > cab::kBlockSize || block.size() < signatureSize
        || std::memcmp(block.data(), cab::kMsZipSignature, signatureSize) != 0) {
        return false;
    }
    if (inflateReset(&m_stream) != Z_OK)
        return false;
    if (!m_history.isEmpty()
        && inflateSetDictionary(&m_stream, reinterpret_cast<const Bytef *>(m_history.constData()),
                                uInt(m_history.size()))
            != Z_OK) {
        return false;
    }

    out.resize(expectedSize);
    m_stream.next_in = const_cast<Bytef *>(reinterpret_cast<const Bytef *>(block.data() + signatureSize));
    m_stream.avail_in = uInt(block.size() - signatureSize);
    m_stream.next_out = reinterpret_cast<Bytef *>(out.data());
    m_stream.avail_out = uInt(expectedSize);
    // The output buffer is exactly the declared size: a stream that would
    // produce more cannot reach its final block and is refused, as is one that
    // ends short of the size.
    if (inflate(&m_stream, Z_FINISH) != Z_STREAM_END || m_stream.avail_out != 0)
        return false;
    remember(out);
    return true;
}

void CMsZipDecompressor::remember(QByteArrayView output)
{
    if (output.size() >= cab::kBlockSize) {
        m_history = output.last(cab::kBlockSize).toByteArray();
        return;
    }
    m_history.append(output);
    if (m_history.size() > cab::kBlockSize)
        m_history.remove(0, m_history.size() - cab::kBlockSize);
}
