#pragma once
// The question every content editor asks before it stores an edited record
// that has a number: under that number, or under a new one. Sample records
// (serials from 999000 on) are never overwritten.

#include <QtGlobal>

class QWidget;

enum class SaveNumber {
    Stored,        // overwrite the stored record under its number
    New,           // save a copy under the new number
    NewFromSample, // save a sample's edits under the new number
    Discard,       // a sample the operator does not save: close without changes
    Stay,          // keep the dialog open
};

// Asks 5002 for a sample, else 5000 with the number; a stored record that the
// running transfer sends cannot be overwritten (5332 from the frame), and a
// new number needs room in the type's list (5101).
SaveNumber ChooseSaveNumber(QWidget *owner, int type, qint32 number);
// False (5101 with the limit) when the type's list is full.
bool HasRoomForNewContent(QWidget *owner, int type);
