#pragma once
// The send information of contents: what one content, playlist or schedule
// puts into a registration request. A media content has its file checked and
// its file facts refreshed; every content's deletion date only ever moves
// later through a send (a directly sent content gets the send's date, a member
// of a playlist or schedule loses a date that would end before the keep
// period); a playlist or schedule brings its sequences and every content
// they play. Records whose dates changed are written back to their lists.
//
// Runs on the user-interface thread (it reads and writes the content store).

#include "core/win_types.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CContentsList;
class CContentsStore;
class CDlkRequestSend;
class CPropertyBase;
class CTimetableFile;
class CTimetableItem;
class QObject;

// Year 9999-12-31: never deleted.
constexpr DateValue kNeverDeleteDate{9999, 12, 31};
// The number that stands for an empty cell in a sequence.
constexpr qint32 kPlaceholderIndex = 999999000;
// Whether a sequence's item names a content of the library: external input
// and empty cells name none.
bool NamesLibraryContent(const CTimetableItem &item);

// The date keepDays after a date, clamped at 9999-12-31.
DateValue AddDays(const DateValue &date, int keepDays);
DateValue DateOf(const SystemTime &time);
// The string id of a content type's name ("静止画", "BGMリスト", ...): the
// contents pane's tab captions, padded with blanks to the tabs' width; 0 for
// a type without a tab.
quint32 TypeNameId(int type);
// A content as messages name it: its nine digits and its type's name without
// the tab's padding ("053000001(BGMリスト)").
QString ContentLabel(qint32 number, int type);

class CSendInfoBuilder {
public:
    // owner: the window of messages (may be null); keepDays: the keep period;
    // dataRoot: the base folder of the data.
    CSendInfoBuilder(CContentsStore &store, CDlkRequestSend &request, const SystemTime &sendTime, int keepDays,
                     const QString &dataRoot, QObject *owner);

    // Queues one content: a file content through
    // MakeFileSendInfo, a playlist or schedule with everything it plays.
    // With list and a position and without noUpdate, a changed record is
    // written back to the list by Commit. deleteDate null: a member of a list.
    bool AddR40SendInfo(CContentsList *list, int position, CPropertyBase &record, const DateValue *deleteDate,
                        bool noUpdate);
    // Checks the content's file and moves its deletion date; changed is set
    // when the record changed.
    bool MakeFileSendInfo(CPropertyBase &record, const DateValue *deleteDate, bool &changed);
    // A telop's files (TelopFilePaths): refused when one is missing; its
    // delivery date from the write time of the first it sends.
    bool MakeTelopSendInfo(CPropertyBase &record, SystemTime &fileDate);
    // A playlist or background-music list with its sequences and contents.
    bool AddPlaylistSendInfo(CPropertyBase &record, const DateValue *deleteDate, bool &changed);
    // A schedule with its sequences and playlists.
    bool AddScheduleSendInfo(CPropertyBase &record, const DateValue *deleteDate, bool &changed);
    // Every content a sequence plays, from the library lists.
    bool AddListSendInfo(const CTimetableFile &sequence);

    // Queues a record as it stands (a calendar row); logs a failure under
    // the operation's name.
    bool AddRecord(const CPropertyBase &record, const char *operation);
    // A changed record to be written back to its list by Commit.
    bool DeferUpdate(CContentsList *list, int position, const CPropertyBase &record);
    // Writes what the preparation changed: the records back into their lists
    // and the playlist, schedule and sequence files that are sent. Nothing
    // is written before, so a preparation that fails midway changes nothing.
    // False at the first write that fails (logged).
    bool Commit();
    // Whether a failure was already shown to the operator.
    bool IsReported() const { return m_reported; }
    // Shows why the send is refused; the failure counts as shown.
    void ShowRefusal(const QString &text);

    const SystemTime &GetSendTime() const { return m_sendTime; }
    // The date keepDays after the send time.
    DateValue GetKeepLimit() const;

private:
    bool checkContentFile(CPropertyBase &record, bool &changed);
    bool moveDeleteDate(CPropertyBase &record, const DateValue *deleteDate, bool &changed) const;
    // The deletion date a playlist's or schedule's sequences get.
    DateValue timetableDeleteDate(CPropertyBase &record, CTimetableFile &file, const DateValue *deleteDate,
                                  bool &changed) const;
    bool addSequence(qint32 number, const QString &loadFolder, const QString &sendFolder, const DateValue &deleteDate,
                     bool addContents);
    bool addScheduleItem(const CTimetableFile &schedule, int position, const DateValue &deleteDate);
    void showMissing(qint32 number, int type);
    bool showFileMissing(const CPropertyBase &record);
    void deferSave(std::shared_ptr<CTimetableFile> file, const QString &folder);

    CContentsStore &m_store;
    CDlkRequestSend &m_request;
    SystemTime m_sendTime;
    int m_keepDays;
    QString m_dataRoot;
    QObject *m_owner;
    bool m_reported = false;
    std::vector<std::function<bool()>> m_commits;
};
