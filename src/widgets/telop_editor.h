#pragma once
// The telop editors the main frame runs. The dialogs live in the contents
// user interface above this library, which installs them at start-up; the
// frame reaches them only through this interface, and tests install their own.

#include <QtGlobal>

class CTelopFileStage;
class CTelopProperty;
class QWidget;

class ITelopEditor {
public:
    virtual ~ITelopEditor() = default;
    // The text telop editor on a copy of the record (index 0 for a new telop)
    // with the number under which a new telop is saved. On IDOK the record
    // holds the edited values and the telop's two files are staged in stage
    // under the record's number; nothing is staged otherwise.
    virtual int EditText(QWidget *owner, CTelopProperty &property, qint32 newNumber, CTelopFileStage &stage) = 0;
    // The property dialog with the background-colour row, for a bitmap telop.
    virtual int EditDetail(QWidget *owner, CTelopProperty &property) = 0;
};

// Installs the editor; nullptr removes it. The caller keeps ownership.
void SetTelopEditor(ITelopEditor *editor);
ITelopEditor *GetTelopEditor();
