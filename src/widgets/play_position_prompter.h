#pragma once
// The interrupt-playback choice (how long an interrupting playback runs and
// where a telop stands) behind one narrow interface: the contents user
// interface installs its dialog, tests a scripted fake. Without one the
// choice is cancelled, so nothing plays that the operator did not choose.

#include <QtGlobal>

class QWidget;

struct InterruptPlayChoice {
    int contentType = 0;
    // The content's own play time; all zero when it has none.
    quint16 hours = 0;
    quint16 minutes = 0;
    quint16 seconds = 0;
    qint32 maxPosition = 0; // the largest telop position (the screen height)
    // Results: seconds to play (0 until stopped), the telop position and
    // whether the play runs longer than the content's own time.
    qint32 playSeconds = 0;
    qint32 telopPosition = 0;
    qint32 longPlay = 0;
};

class IPlayPositionPrompter {
public:
    virtual ~IPlayPositionPrompter() = default;
    // True when the operator chose to play.
    virtual bool PromptPlayPosition(QWidget *owner, InterruptPlayChoice &choice) = 0;
};

// Installs the prompter; nullptr removes it. The caller keeps ownership.
void SetPlayPositionPrompter(IPlayPositionPrompter *prompter);
// The installed prompter's answer; false when there is none.
bool PromptPlayPosition(QWidget *owner, InterruptPlayChoice &choice);
