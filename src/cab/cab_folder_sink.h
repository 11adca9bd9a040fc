#pragma once
// Extracts members into a destination folder. Each member's name must be a
// safe relative path; its folders are created one part at a time and a part
// that is a link is refused, so nothing is written outside the destination.
// A file is written under a temporary name beside its place and renamed over
// it when complete (not flushed to the disk first), then given the member's
// time stamp and, for read-only members, read-only rights.

#include "cab/cab_sink.h"

#include <QFile>
#include <QString>

class CCabFolderSink : public CCabSink {
public:
    explicit CCabFolderSink(const QString &destination);
    ~CCabFolderSink() override; // an unfinished file is discarded
    CCabFolderSink(const CCabFolderSink &) = delete;
    CCabFolderSink &operator=(const CCabFolderSink &) = delete;

    CabResult BeginMember(const CabMember &member) override;
    CabResult WriteMember(QByteArrayView data) override;
    CabResult EndMember() override;

private:
    CabResult makeFolders(const QStringList &parts, QString &path) const;
    bool openPartial();
    void discardPartial();
    void applyReadOnly() const;

    QString m_destination;
    CabMember m_member;
    QString m_target;
    QFile m_file; // the member's file under its temporary name until complete
};
