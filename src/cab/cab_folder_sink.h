#pragma once
// Extracts members into a destination folder. Each member's name must be a
// safe relative path; its folders are created one part at a time and a part
// that is a link is refused, so nothing is written outside the destination.
// A file is written under a temporary name and renamed when complete, then
// given the member's time stamp and, for read-only members, read-only rights.

#include "cab/cab_sink.h"

#include <QSaveFile>
#include <QString>

#include <memory>

class CCabFolderSink : public CCabSink {
public:
    explicit CCabFolderSink(const QString &destination);

    CabResult BeginMember(const CabMember &member) override;
    CabResult WriteMember(QByteArrayView data) override;
    CabResult EndMember() override;

private:
    CabResult makeFolders(const QStringList &parts, QString &path) const;
    void applyReadOnly() const;

    QString m_destination;
    CabMember m_member;
    std::unique_ptr<QSaveFile> m_file; // an unfinished file is discarded with it
};
