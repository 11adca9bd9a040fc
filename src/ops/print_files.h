#pragma once
// The print files: tab-separated UTF-16 text files written into the print
// folder for the spreadsheet macro that lays them out and prints them. A
// playlist or background-music list ("PLST_%04d.TSV", "BGM_%03d.TSV"), a
// schedule ("SCHEDULE.TSV") and a month of a group's calendar
// ("CALENDAR.TSV"). docs/file-formats.md ("Print files") shows their lines.
//
// Every file begins with the byte-order mark, every line ends with CR LF,
// columns are separated by one TAB. A TAB, CR or LF inside a title or text is
// written as a blank, so no column ever shifts.

#include <QList>
#include <QString>

#include <functional>

class CContentsStore;

// Print kinds.
enum PrintKind : int {
    PRINT_CALENDAR = 50,
    PRINT_SCHEDULE = 51,
    PRINT_PLAYLIST = 52,
    PRINT_BGM_LIST = 53,
};

// End codes of a print (WM_APP+81).
enum PrintEndCode : quint32 {
    PRINT_END_DONE = 0,
    PRINT_END_NO_PROGRAM = 1,  // the spreadsheet program could not be started
    PRINT_END_MACRO_FAILED = 2,
    PRINT_END_WRITE_FAILED = 3, // a print file could not be written (detail: the error)
};

// The folder under the data root that the print files are written to.
QString PrintFolderOf(const QString &dataRoot);

struct PrintRequest {
    int kind = PRINT_PLAYLIST;
    int year = 0;   // calendar
    int month = 0;
    bool scheduleOnly = false; // schedule: only SCHEDULE.TSV
    bool edit = false;         // the edit pane's list or schedule, else the check pane's
};

// What the writers hand to the macro: which files the folder holds.
struct PrintFileSet {
    QString folder;
    bool calendar = false;
    bool schedule = false;
    int playlists = 0;
    int bgmLists = 0;
};

class CPrintFiles {
public:
    // end receives the end code and its detail when a writer fails.
    using EndReport = std::function<void(quint32 code, quint32 detail)>;

    CPrintFiles(CContentsStore &store, QString dataRoot, EndReport end);

    // Empties and creates "TelvData/Q9Data/PrintTemp"; false after reporting.
    bool PrepareTsvFolder(QString &folder);
    // Writes the files of a request into the print folder; false after
    // reporting the failure. A worker may call it: what it reads of the
    // store is read on the store's owner thread.
    bool WritePrintFiles(const PrintRequest &request, PrintFileSet &files);

    // The writers. number -1 prints the pane's list of the type.
    bool SavePlaylistTSV(const QString &folder, int fileIndex, qint32 number, int type, bool fromSchedule, bool edit,
                         bool &written);
    bool SaveScheduleTSV(const QString &folder, QList<qint32> *playlists, QList<qint32> *bgmLists, bool edit);
    bool SaveCalendarTSV(const QString &folder, int year, int month);

private:
    bool writeFiles(const PrintRequest &request, PrintFileSet &files);
    bool fail(const char *log, quint32 detail = 1359);

    CContentsStore &m_store;
    QString m_dataRoot;
    EndReport m_end;
};

// The weekday line of a schedule: "SUN" ... "SAT" ("THR" for Thursday) for
// the days in week (all when empty), with an empty column for each day left
// out between two that play.
QString WeekdayLine(const QString &week);
// A cell's text with TAB, CR and LF made blanks.
QString TsvCell(const QString &text);
