#pragma once
// The question every content editor asks before it stores an edited record
// that has a number: under that number, or under a new one. Sample records
// (serials from 999000 on) are never overwritten.

#include <QtGlobal>

#include <functional>

class CPropertyBase;
class QDialog;
class QWidget;

// The end of an editor's OK once its record is complete. A new record (no
// number yet) takes newIndex; an edited one is kept under its number or under
// newIndex as the save-number rule (ops/save_number.h) and the operator's
// answer to 5000 decide; a stored record that the running transfer sends
// cannot be overwritten (5332 from the frame). newCopy (when given) learns the
// number a copy is made from. The dialog is accepted, closed unchanged (a
// sample not saved) or left open; true when it was accepted.
bool AcceptUnderChosenNumber(QDialog &dialog, CPropertyBase &record, int type, qint32 newIndex,
                             const std::function<void(qint32 copiedNumber)> &newCopy = {});
// Whether an editor may close: unmodified, or the operator agrees to lose the
// changes (5004).
bool MayDiscardEdits(QWidget *owner, bool modified);
