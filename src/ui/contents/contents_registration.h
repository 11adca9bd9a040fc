#pragma once
// The file dialogs of the contents lists: the files to register on a tab and
// the file that replaces a content's material. Both start in the type's last
// folder and go through the program's file-dialog seam.

#include <QStringList>

class QWidget;

// Whether a tab of the type registers files (video, still, telop bitmaps,
// animation files, Flash, audio).
bool CanRegisterFiles(int type);

// What the operator chose to register on a tab of the type, split into the
// paths the tab takes (by their extension) and the others.
struct RegistrationChoice {
    int code = 0;         // the registration code: the type, 101 for animation files
    QStringList taken;
    QStringList refused;
};
RegistrationChoice PromptRegistrationFiles(QWidget *owner, int type);

// The file that replaces a content's material; empty when cancelled.
QString PromptReplacementFile(QWidget *owner, int type);
