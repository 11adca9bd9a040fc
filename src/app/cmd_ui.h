#pragma once
// The state of one command as a button or menu item shows it. A handler that
// knows the command sets the state and marks it handled; a command nobody
// handles may be disabled by the caller.

struct CCmdUI {
    explicit CCmdUI(int commandId) : id(commandId) {}

    void Enable(bool on = true)
    {
        enabled = on;
        handled = true;
    }
    void SetCheck(bool on = true)
    {
        checked = on;
        handled = true;
    }

    int id;
    bool enabled = true;
    bool checked = false;
    bool handled = false;
};

// A window whose bars ask it for the state of their commands.
class ICmdUiTarget {
public:
    virtual ~ICmdUiTarget() = default;
    // Sets the state of a command it handles on cmdUi (which marks it handled).
    virtual void OnUpdateCommand(CCmdUI &cmdUi) = 0;
};
