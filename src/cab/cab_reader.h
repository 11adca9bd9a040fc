#pragma once
// Reads a single cabinet from a device: Open parses and checks every header
// against the cabinet's own sizes, Extract decodes the members' bytes into a
// sink. Folders may be stored or MSZIP-compressed. Every size read from the
// cabinet is checked before it is used: Open walks each folder's data block
// headers and refuses folders whose blocks overlap one another or hold fewer
// bytes than their members declare, so the work of Extract is bounded by the
// cabinet's size and nothing is decoded beyond the members' declared ranges.

#include "cab/cab_result.h"
#include "cab/cab_sink.h"

#include <QIODevice>
#include <QList>

class CCabReader {
public:
    explicit CCabReader(QIODevice &device);

    CabResult Open();
    // The members in stored order (valid after a successful Open).
    const QList<CabMember> &members() const { return m_members; }
    // Decodes every member, folder by folder in stream order.
    CabResult Extract(CCabSink &sink);

private:
    struct Folder {
        quint32 dataOffset = 0;
        quint16 blocks = 0;
        quint16 compression = 0;
        qint64 dataEnd = 0;    // just after its last data block
        qint64 streamBytes = 0; // the sum of its blocks' uncompressed sizes
    };
    struct BlockHeader {
        quint32 checksum = 0;
        int packedSize = 0;
        int size = 0;
        int headerSize = 0; // with the reserved area
    };
    class ChunkedInput;
    class FolderDecoder;

    bool readAt(qint64 position, qint64 size, QByteArray &out);
    bool readBlockHeader(qint64 position, BlockHeader &block);
    bool parseBlockHeader(const char *header, BlockHeader &block) const;
    CabResult readHeader(QByteArray &header, qint64 &position);
    CabResult readFolders(qint64 position, int count);
    CabResult walkBlocks(Folder &folder);
    CabResult checkFolderData() const;
    CabResult readFiles(qint64 position, int count);
    CabResult checkMembers() const;
    QList<int> streamOrder() const;

    QIODevice &m_device;
    qint64 m_cabinetSize = 0;
    quint8 m_folderReserve = 0;
    quint8 m_dataReserve = 0;
    QList<Folder> m_folders;
    QList<CabMember> m_members;
};
