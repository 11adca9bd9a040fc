#pragma once
// Colours between the stored form and the screen, and the system colour
// dialog behind one narrow interface that tests replace. Stored colours keep
// the 0x00BBGGRR byte order (red in the low byte); they become QColor only
// where they are painted.

#include "core/win_types.h"

#include <QColor>

class QWidget;

QColor ToQColor(ColorRef color);
ColorRef FromQColor(const QColor &color);

class IColorDialogPrompter {
public:
    virtual ~IColorDialogPrompter() = default;
    // Opens the colour dialog in its full form on initial; true with the
    // chosen colour, false when it was cancelled.
    virtual bool ChooseColor(QWidget *owner, ColorRef initial, ColorRef &chosen) = 0;
};

// Installs the prompter; nullptr restores the system dialog. The caller keeps
// ownership and uninstalls it before destroying it.
void SetColorDialogPrompter(IColorDialogPrompter *prompter);
bool PromptColor(QWidget *owner, ColorRef initial, ColorRef &chosen);
