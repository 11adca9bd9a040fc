#pragma once
// Transfer request kind 5: the contents (media, playlists, schedules,
// calendars, sequences) to register on every player of a job, each held as a
// private copy of its property record, with the PC folders the worker reads
// their files from, the parameters of a play command and an optional local
// web package.
//
// The main window fills the request before the transfer starts; afterwards the
// entries, folders and play parameters are only read. The one thing changed
// during a transfer is the send status of the calendar entries, always under
// the request's lock.

#include "player/dlk_request.h"

#include <QString>

#include <array>
#include <memory>
#include <mutex>
#include <vector>

class CPropertyBase;

class CDlkRequestSend : public CDlkRequest {
public:
    static constexpr int kPlayValueCount = 8;

    CDlkRequestSend();
    ~CDlkRequestSend() override;

    CDlkRequestSend(const CDlkRequestSend &) = delete;
    CDlkRequestSend &operator=(const CDlkRequestSend &) = delete;

    // Queues a copy of record, or refreshes the entry that has its content type
    // and number (the entry keeps its place). False with 87 for a null record,
    // a request with a package path or a type that cannot be registered; with
    // 14 without memory; with the record's own error when copying fails (an
    // existing entry then stays as it was).
    bool Add(const CPropertyBase *record);
    int GetCount() const;
    // Position of the entry, -1 when none.
    int Find(qint32 contentIndex, int contentType) const;
    // Entry at position; null with 87 outside the queue.
    const CPropertyBase *GetAt(int position) const;
    // A copy of the entry at position, made under the lock, so a calendar
    // status that another worker sets meanwhile is never read half-written.
    // Null with 87 outside the queue, with 14 without memory.
    std::unique_ptr<CPropertyBase> CopyAt(int position) const;

    // Each path must be a folder path (or empty); else 87 and nothing is stored.
    // One trailing separator is removed.
    bool SetPlaylistFolders(const QString &playlistFolder, const QString &sequenceFolder);
    bool SetWorkPlaylistFolders(const QString &playlistFolder, const QString &sequenceFolder);
    bool SetGroupFolders(const QString &scheduleFolder, const QString &sequenceFolder);
    bool SetTextFolder(const QString &folder);

    QString GetPlaylistFolder() const { return m_playlistFolder; }
    QString GetSequenceFolder() const { return m_sequenceFolder; }
    QString GetWorkPlaylistFolder() const { return m_workPlaylistFolder; }
    QString GetWorkSequenceFolder() const { return m_workSequenceFolder; }
    QString GetGroupScheduleFolder() const { return m_groupScheduleFolder; }
    QString GetGroupSequenceFolder() const { return m_groupSequenceFolder; }
    QString GetTextFolder() const { return m_textFolder; }

    // Play type, content index, then value 8, then values 1 to 7.
    bool SetPlayParameter(qint32 playType, qint32 contentIndex, qint32 value8, qint32 value1, qint32 value2,
                          qint32 value3, qint32 value4, qint32 value5, qint32 value6, qint32 value7);
    void GetPlayParameter(qint32 &playType, qint32 &contentIndex) const;
    // Play value 1 to 8 (-1: not given); -1 with 87 for another number.
    qint32 GetPlayValue(int number) const;

    // A local web package sent in place of the entries' own pages. While it is
    // set the queue takes no more entries.
    void SetPackagePath(const QString &path) { m_packagePath = path; }
    QString GetPackagePath() const { return m_packagePath; }
    bool HasPackagePath() const { return !m_packagePath.isEmpty(); }

    // Every calendar entry gets status 2.
    bool ResetCalendarStatus();
    // A calendar entry whose status is not 4 takes status; other entries are
    // left alone. False with 87 for a position outside the queue.
    bool SetCalendarStatus(int position, qint32 status);

    CDlkRequest *Create() const override;
    // Adds the other request's entries through Add, then takes its play
    // parameters, folders and package path. Copying from itself fails with 87.
    bool CopyFrom(const CDlkRequest *other) override;
    void Release() override;

private:
    bool setFolders(QString &first, const QString &firstPath, QString *second, const QString &secondPath);
    int findLocked(qint32 contentIndex, int contentType) const;

    // Guards the entries against the workers' calendar status changes.
    mutable std::mutex m_lock;
    std::vector<std::unique_ptr<CPropertyBase>> m_entries;
    qint32 m_playType = 0;
    qint32 m_contentIndex = 0;
    std::array<qint32, kPlayValueCount> m_playValues;
    QString m_playlistFolder;
    QString m_sequenceFolder;
    QString m_groupScheduleFolder;
    QString m_groupSequenceFolder;
    QString m_textFolder;
    QString m_workPlaylistFolder;
    QString m_workSequenceFolder;
    QString m_packagePath;
};
