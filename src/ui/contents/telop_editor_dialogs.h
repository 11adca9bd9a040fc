#pragma once
// The telop dialogs as the main frame runs them (widgets/telop_editor.h).

#include "widgets/telop_editor.h"

class CTelopEditorDialogs final : public ITelopEditor {
public:
    int EditText(QWidget *owner, CTelopProperty &property, qint32 newNumber, CTelopFileStage &stage) override;
    int EditDetail(QWidget *owner, CTelopProperty &property) override;
};

// Installs the telop dialogs for the program's lifetime.
void RegisterTelopEditor();
