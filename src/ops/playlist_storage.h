#pragma once
// Storing playlists and schedules beyond their edit models: saving the
// edited playlist, background-music list or schedule with its record, the
// simple schedule and calendar row that a playlist's save may write for a
// group, the numbers they take, and pasting copied playlists,
// background-music lists and schedules as new records.
//
// The files a save or paste writes change together or not at all (see
// core/staged_files.h): one that fails leaves the stored files, the lists and
// the counters as they were, without writing anything back. Refusals and
// failures are shown through the message prompter, as the frame's checks do.

#include "core/message_box.h"
#include "core/time_utils.h"
#include "core/win_types.h"
#include "ops/save_number.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class CContentsList;
class CContentsStore;
class CPlaylistEditModel;
class CPropertyBase;
class CScheduleProperty;
class CScheduleEditModel;
class CTimetableModel;

// The schedule block of the schedule setting dialog: whether the save also
// sets a schedule, for which group, and when it plays.
struct ScheduleSetBlock {
    bool setSchedule = false;
    QString groupName;
    qint32 background = 0; // number in the calendar colour table, -1 none
    DateValue startDate;
    DateValue endDate;
    TimeValue startTime;
    TimeValue endTime;
    QString weekdays = AllWeekdayDigits(); // the digits of the days that play

    friend bool operator==(const ScheduleSetBlock &, const ScheduleSetBlock &) = default;
};

// What a simple schedule plays and is called.
struct SimpleScheduleRecord {
    qint32 scheduleIndex = -1;
    qint32 playlist = -1; // the playlist the schedule's one item plays
    QString info;
    QString title;
};

// Runs change with every stored file it writes held back (core/staged_files.h),
// and puts them all in place once it returns true; when it returns false, or
// a file cannot be staged or put in place, no stored file has changed. No
// message may be shown inside change: the caller tells the operator once it
// returns.
bool WriteTogether(const std::function<bool()> &change);

// The record a list holds under a number, taken before the list changes so
// that a change whose save fails can be taken back: Restore puts the old
// record back, or removes the number when the list did not hold it.
class CRecordSnapshot {
public:
    CRecordSnapshot(CContentsList &list, qint32 index);
    ~CRecordSnapshot();
    void Restore();

private:
    CContentsList &m_list;
    qint32 m_index;
    std::unique_ptr<CPropertyBase> m_old;
};

// Updates the record with the same number in place, or adds it.
bool StoreRecord(CContentsList &list, const CPropertyBase &record);

// Where a save of the edited model writes, by the save-number rule
// (ops/save_number.h): under the model's own number when it is stored and the
// operator did not ask for a new one, else under a new number (counter: the
// counter value that gave it). index is -1 when the save must not go on: the
// list is full or a sample's edits are dropped (the caller tells the
// operator or starts afresh), or no number is free.
struct SaveTarget {
    SaveNumber choice = SaveNumber::New;
    qint32 index = -1;
    int counter = -1;
};
SaveTarget ChooseSaveTarget(const CTimetableModel &model, const CContentsList &list, int type, bool saveAsNew);

// The schedule block a save starts from, which its dialog accepts as it
// stands: the group, the week from today with all seven days, and the
// operating hours (to the day's end when the players switch off after
// midnight or never).
ScheduleSetBlock DefaultScheduleBlock(const QString &group);

// The block of a stored schedule of the group: it sets a schedule (its own)
// with the record's period, weekdays, times and background colour.
ScheduleSetBlock ScheduleBlockOf(const CScheduleProperty &schedule, const QString &group);
// Puts a block's period, weekdays and background colour into a schedule
// record; its times are the caller's.
void ApplyScheduleBlock(CScheduleProperty &schedule, const ScheduleSetBlock &block);

// Saves the edited playlist (52) or background-music list (53) under index:
// its files, then its record (a stored one keeps its other fields; the
// model's title, info, resolution, orientation and length, created now) and
// the content list; for a new number (counter >= 0) the type's counter steps
// on. The model takes the number. A failure shows the type's save-failure
// message and leaves the stored files, the list, the counter and the model
// (still to be saved) as they were.
bool SavePlaylist(CContentsStore &store, CPlaylistEditModel &model, CContentsList &list, int type, qint32 index,
                  int counter);
// The same for the edited schedule (list: the current group's schedule
// list) in the current group's folders. Its record takes its times from the
// model and, when new, its dates, days and background from the block (a
// stored one keeps its own); its calendar row is written again with it, or
// neither is.
bool SaveSchedule(CContentsStore &store, CScheduleEditModel &model, CContentsList &list, qint32 index, int counter,
                  const ScheduleSetBlock &block);

// The schedule and sequence folders of a group, created when missing; false
// (logged) for a group name that is no folder name or a folder that cannot
// be made.
bool PrepareGroupScheduleFolders(CContentsStore &store, const QString &group, QString &scheduleFolder,
                                 QString &sequenceFolder);

// Saves, after a playlist's save, the simple schedule that plays it in the
// block's group (record: the playlist, its info and title) under a new
// number that neither the current group nor that group holds (it goes into
// record.scheduleIndex), with its calendar row: the schedule file, its record
// and the row are written together or not at all. The item runs from the
// block's start to its end time, cut at powerOff when the daily power-off
// falls inside. A failure (the group's lists cannot be read, no number is
// free, a file cannot be written) is logged and shows the schedule's
// save-failure message, which the playlist's saved question then follows;
// currentGroupChanged tells whether the current group's lists changed.
bool SavePlaylistSchedule(CContentsStore &store, SimpleScheduleRecord &record, const ScheduleSetBlock &block,
                          const TimeValue &powerOff, bool &currentGroupChanged);
// Updates or adds the calendar row that plays the schedule in the block's
// group, and saves that group's calendar list; false (logged, the row as it
// was) when it cannot, which the caller tells the operator once for all the
// schedules it stores.
bool SaveSimpleCalendar(CContentsStore &store, const SimpleScheduleRecord &record, const ScheduleSetBlock &block,
                        bool &listChanged);

// The load-failure and save-failure messages of a playlist (52),
// background-music list (53) or schedule (51); a save failure shows the
// given icon.
void ShowLoadFailed(int type);
void ShowSaveFailed(int type, quint32 icon = MB_ICONWARNING);
// Steps a type's counter past the value that gave a new number and keeps it.
void AdvanceContentCounter(int type, int counter);

// Pastes the playlists (52) or background-music lists (53) at the list
// positions as new records with new numbers of this PC; stops at
// the type's limit or a source that cannot be read (its message shown) and
// keeps what was added by then. A file or list that cannot be written takes
// the whole paste back (the save-failure message shown). The number of new
// records.
int PastePlaylists(CContentsStore &store, int type, const QList<quint32> &positions);
// Pastes schedules of the source group (its schedule-list positions) into
// the current group, each with a new calendar row; the same stops and the
// same taking back. The number of new records.
int PasteSchedules(CContentsStore &store, const QString &sourceGroup, const QList<quint32> &positions);
