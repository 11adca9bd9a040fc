#pragma once
// MSZIP block decompression: "CK", then a raw deflate stream that may refer
// back into the folder's earlier output (at most 32 KiB back).

#include <QByteArray>
#include <QByteArrayView>

#include <zlib.h>

class CMsZipDecompressor {
public:
    CMsZipDecompressor();
    ~CMsZipDecompressor();
    CMsZipDecompressor(const CMsZipDecompressor &) = delete;
    CMsZipDecompressor &operator=(const CMsZipDecompressor &) = delete;

    // False when zlib could not set up its state (out of memory).
    bool isValid() const { return m_ready; }

    // Starts a new folder: the next block has no history. A block that fails
    // to decode also ends the history.
    void StartFolder();

    // Decompresses one block into out, which must come to exactly
    // expectedSize bytes (at most 32 KiB); the output never grows beyond it.
    // False on a missing signature, bad deflate data or a size mismatch.
    bool Decompress(QByteArrayView block, int expectedSize, QByteArray &out);

private:
    bool inflateBlock(QByteArrayView deflated, QByteArray &out);

    z_stream m_stream {}; // its window holds the last 32 KiB of the folder's output
    bool m_ready = false;
};
