#pragma once
// Where extracted members go: the reader calls BeginMember, then WriteMember
// with the member's bytes in order, then EndMember, for one member at a time.
// A result other than CAB_OK stops the extraction with that result.

#include "cab/cab_result.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

// One file of a cabinet as its headers describe it.
struct CabMember {
    QString name;        // as stored ("\" separators), decoded
    quint32 size = 0;
    quint32 offset = 0;  // inside its folder's uncompressed stream
    quint16 folder = 0;
    quint16 attributes = 0;
    QDateTime modified;  // local time; invalid when the stored stamp is not a real date
};

class CCabSink {
public:
    virtual ~CCabSink() = default;
    virtual CabResult BeginMember(const CabMember &member) = 0;
    virtual CabResult WriteMember(QByteArrayView data) = 0;
    virtual CabResult EndMember() = 0;
};
