#pragma once
// Which number an edited record is saved under: its own, or a new one. A
// sample (serial from 999000 on) is never written over: its edits go under a
// new number when the operator agrees, else they are dropped. A new number
// needs room in the type's list.

#include <QtGlobal>

#include <functional>

class CContentsList;
class QObject;

enum class SaveNumber {
    Stored,        // under its own number
    New,           // under a new number
    NewFromSample, // a sample's edits under a new number
    Discard,       // a sample whose edits the operator drops
    ListFull,      // a new number, but the list holds the type's limit (ShowListFull)
};

// The rule for a record stored under number (-1: not stored yet, so new).
// A sample asks the operator (5002); for any other stored record asNew tells
// whether the operator chose a copy under a new number, and is asked only then.
SaveNumber ChooseSaveNumber(QObject *owner, const CContentsList &list, int type, qint32 number,
                            const std::function<bool()> &asNew);

// Whether the list holds the type's limit of records.
bool IsListFull(const CContentsList &list, int type);
// Tells the operator the type's list is full (5101 with the limit).
void ShowListFull(QObject *owner, int type);
