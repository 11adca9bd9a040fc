#pragma once
// MSZIP block compression: every data block is "CK" followed by a complete raw
// deflate stream of at most 32 KiB of input. The stream may refer back into the
// previous block of the same folder, which extractors keep as their window, so
// each block is compressed with that block as its preset dictionary.

#include <QByteArray>
#include <QByteArrayView>

#include <zlib.h>

class CMsZipCompressor {
public:
    CMsZipCompressor();
    ~CMsZipCompressor();
    CMsZipCompressor(const CMsZipCompressor &) = delete;
    CMsZipCompressor &operator=(const CMsZipCompressor &) = delete;

    // False when zlib could not set up its state (out of memory).
    bool isValid() const { return m_ready; }

    // Compresses block (at most 32 KiB) into out, replacing its content.
    // dictionary is the folder's previous block, empty for its first block.
    bool Compress(QByteArrayView dictionary, QByteArrayView block, QByteArray &out);

private:
    z_stream m_stream {};
    bool m_ready = false;
};
