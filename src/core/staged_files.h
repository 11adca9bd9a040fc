#pragma once
// Stored files that change together or not at all. While a CStagedFiles is
// open on a thread, every synced WriteFileAtomically and every
// RemoveStoredFiles of that thread is held in it: the new contents are
// written in full under temporary names beside their targets and the stored
// files stay as they are. Commit then renames every held file over its
// target and removes the files to go; no new data is written at that point
// (the old files' copies a file system without hard links needs are made
// before any stored file changes), so a full disk stops a change before any
// stored file has changed. Destroyed
// without a commit (a step failed), the set removes its temporary files and
// every stored file is as it was, without a byte written back.
//
// Before the first stored file changes, the commit writes a journal into the
// journal folder of the data tree (SetStagedFilesDataTree), naming every
// target, the second name that keeps its old contents and every folder the
// set renames; it is removed once every change is in place. A start after a
// kill puts every set whose journal is still there back as it was
// (UndoInterruptedStagedSets), so each set is entirely old or entirely new.
// Every target and folder lies in the data tree with no link on its way, so
// the start can act on the journal; a set with one elsewhere is refused.
//
// Files written unsynced (made for one send) are not stored data and are not
// held. A set opened while another is open on the thread joins it: its files
// wait for the outer set's commit, and an inner set closed without a commit
// makes the outer commit fail. No prompt may be shown while a set is open
// (PromptAllowedNow): the operator's answer would come with the stored files
// half-changed, and whatever a handler saved meanwhile would join the set.

#include "core/atomic_file.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

class CStagedFiles {
public:
    CStagedFiles();
    ~CStagedFiles();
    CStagedFiles(const CStagedFiles &) = delete;
    CStagedFiles &operator=(const CStagedFiles &) = delete;

    // Puts every held file in place and removes the files to go, then closes
    // the set. Until all is done every old file keeps a second name (a hard
    // link; a copy where the file system has none), so a file that cannot be
    // put in place (a folder in its place, a refused rename) undoes the
    // others by renames alone: false (logged) with every stored file as it
    // was (should one not go back, the next start puts it back from the
    // journal). An inner set's commit only closes it; its files go with the
    // outer set's.
    bool Commit();

    // The set open on the calling thread (the outermost), or nullptr.
    static CStagedFiles *Open();
    // Takes a file written in full and stages it (WriteFileAtomically's
    // part); a file held before for the same target is dropped. False with
    // the last error when staging fails.
    bool Hold(std::unique_ptr<CAtomicFile> file);
    // Removes the file at Commit instead of now; a file held for it is
    // dropped.
    void HoldRemoval(const QString &path);
    // Renames the folder at from to to (a new name in the same folder) at
    // Commit, before the held files are put in place; undone with them. No
    // held file may lie inside a folder the set renames.
    void HoldFolderMove(const QString &from, const QString &to);

    // Tests only: called before every step of a set that touches the disk
    // (a held file taking its temporary name, each step of the commit on a
    // stored file, its second name, a folder or the journal; nullptr: none).
    static void SetCommitStepHook(void (*hook)());

private:
    void dropHeld(const QString &target);
    // The held files' targets, then the files to go.
    QStringList targets() const;
    bool apply();

    CStagedFiles *m_outer = nullptr; // the set this one joined
    bool m_closed = false;
    bool m_applied = false;          // what Commit returned
    bool m_innerFailed = false;      // an inner set closed without a commit
    std::vector<std::unique_ptr<CAtomicFile>> m_files;
    QStringList m_removals;
    std::vector<std::pair<QString, QString>> m_moves; // (from, to)
};

// Makes set (or none) the set open on the calling thread while it lives: a
// step a worker hands to the window's thread (core/owner_thread.h) writes its
// stored files into the worker's set, as it would on the worker. The worker
// waits for the step meanwhile, so the set has one user at a time.
class CStagedFilesLoan {
public:
    explicit CStagedFilesLoan(CStagedFiles *set);
    ~CStagedFilesLoan();
    CStagedFilesLoan(const CStagedFilesLoan &) = delete;
    CStagedFilesLoan &operator=(const CStagedFilesLoan &) = delete;

private:
    CStagedFiles *m_previous;
};

// Removes stored files, or holds their removal in the set open on this
// thread. False (each logged) when an existing file cannot be removed.
bool RemoveStoredFiles(const QStringList &paths);

// The data tree ("<base>/TelvData") whose files staged sets change; its
// folder "Journal" holds their journals and nothing else writes there. Until
// it is set no set changes anything (Commit fails).
void SetStagedFilesDataTree(const QString &dataTree);
inline constexpr char kStagedJournalFolder[] = "Journal";
// A journal's name in that folder: "<8 hex digits>" and this suffix
// (docs/file-formats.md); it holds at most kStagedJournalMaxBytes.
inline constexpr char kStagedJournalSuffix[] = ".telvq9-journal";
inline constexpr qint64 kStagedJournalMaxBytes = 8 * 1024 * 1024;

// Puts back every staged set of the data tree that a kill cut short during
// its commit, from the journals of its journal folder (that folder alone),
// logging each: every target takes back its old contents (one that did not
// exist goes), every renamed folder its old name, then the journal goes.
// Run before RemoveAtomicWriteLeftovers, which would take the second names
// holding the old contents. A journal that is not a plain file, is larger
// than the bound or cannot be read, or one whose set cannot be put back
// whole (an entry outside the tree or through a link, a second name not of
// the program's temporary form beside its target, a rename that fails) is
// set aside under a name of its own, so it is never run again. Returns the
// journals set aside, by their new names, for the operator.
QStringList UndoInterruptedStagedSets(const QString &dataTree);

// Whether the operator may be asked something now: not while a staged set is
// open on this thread. A refused prompt is logged with what, and reported to
// the observer tests install to fail on it; the caller then takes the answer
// that changes nothing.
bool PromptAllowedNow(const QString &what);
void SetRefusedPromptObserver(void (*observer)(const QString &what));
