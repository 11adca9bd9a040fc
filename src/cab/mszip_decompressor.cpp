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
    // A full reset also forgets the window, so the folder starts without history.
    if (m_ready)
        inflateReset(&m_stream);
}

bool CMsZipDecompressor::Decompress(QByteArrayView block, int expectedSize, QByteArray &out)
{
    const qsizetype signatureSize = sizeof cab::kMsZipSignature;
    if (!m_ready || expectedSize < 0 || expectedSize > cab::kBlockSize || block.size() < signatureSize
        || std::memcmp(block.data(), cab::kMsZipSignature, signatureSize) != 0) {
        return false;
    }
    out.resize(expectedSize);
    if (!inflateBlock(block.sliced(signatureSize), out)) {
        // The window now holds part of a bad block: a later block must not
        // refer back into it.
        StartFolder();
        return false;
    }
    return true;
}

bool CMsZipDecompressor::inflateBlock(QByteArrayView deflated, QByteArray &out)
{
    // Each block is a deflate stream of its own that may refer back into the
    // folder's earlier output. zlib keeps the last 32 KiB of output in its
    // window; resetting the stream but keeping that window lets the next
    // block refer back into it without copying it in again as a dictionary.
    if (inflateResetKeep(&m_stream) != Z_OK)
        return false;
    m_stream.next_in = const_cast<Bytef *>(reinterpret_cast<const Bytef *>(deflated.data()));
    m_stream.avail_in = uInt(deflated.size());
    m_stream.next_out = reinterpret_cast<Bytef *>(out.data());
    m_stream.avail_out = uInt(out.size());
    // The output buffer is exactly the declared size: a stream that would
    // produce more cannot reach its final block and is refused, as is one that
    // ends short of the size. No Z_FINISH: zlib skips updating its window for
    // a stream finished in one call, and the next block needs it.
    return inflate(&m_stream, Z_NO_FLUSH) == Z_STREAM_END && m_stream.avail_out == 0;
}
