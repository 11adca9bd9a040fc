#pragma once
// The pane of a playlist, background-music list or schedule: the list's model
// (the edit pane's or the check pane's) in a caption ("<number> <title>") and
// a grid under its title, with a row of buttons ending with the print button.
//
// The edit pane composes the list on its grid (timetable_editor.h); its
// buttons make a new list, save it in place or under a new number, change the
// current item's time and delete it, and its context menu holds the editor's
// commands. The check pane shows a stored list and can be emptied. A list
// kind says how a change is told and what it adds; its model says what its
// tracks take.

#include "app/titled_pane_dlg.h"
#include "ui/timetable/timetable_editor.h"
#include "ui/timetable/timetable_grid.h"

class QLabel;
class QMenu;
class QPushButton;
class QHBoxLayout;

class CTimetablePaneDlg : public CTitledPaneDlg {
    Q_OBJECT
public:
    enum Mode : int { MODE_VIEWING = 0, MODE_EDITING = 1 };

    CTimetablePaneDlg(const QSize &initialSize, quint32 titleId, int mode);

    bool IsEditing() const { return m_mode == MODE_EDITING; }
    // The grid's editor; null in the check pane.
    CTimetableEditor *GetEditor() const { return m_editor; }
    QString GetListCaption() const;
    CTimetableGrid *GetGrid() const { return m_grid; }
    QPushButton *GetPrintButton() const { return m_print; }
    // The button of a command; null when the pane has none of the name.
    QPushButton *GetButton(const QString &name) const;

    void OnContentsListChanged(int contentType, int index, int flag) override;
    // The print button: prints what the pane shows through the main frame.
    virtual void OnPrint() = 0;
    // The pane's commands, through the main frame.
    virtual void OnNew() = 0;
    virtual void OnSave(bool asNew) = 0;
    virtual void OnClear() = 0;

protected:
    bool OnInitDialog() override;
    // Shows the pane's model again.
    virtual void refresh() = 0;
    // The model the pane shows.
    virtual CTimetableModel *shownModel() const = 0;
    // The edit pane's editor set-up but for its model: what a change tells,
    // where an empty list starts, the refusal of one item too many, the
    // format of dragged cells and the kind's own check of changed times.
    virtual CTimetableEditor::Setup editorSetup() = 0;
    // What only this kind's edit pane has: called once the editor and the
    // shared buttons exist, to add buttons after them.
    virtual void initEditing() {}
    // Commands of this kind's context menu after the editor's.
    virtual void addMenuCommands(QMenu &menu) { Q_UNUSED(menu); }
    void showModel(const CTimetableModel &model, const QStringList &trackNames);
    void setCaption(const QString &text);
    // A button before the print button, running command when clicked.
    QPushButton *addButton(const char *name, const char *text, const std::function<void()> &command);

private:
    void addCommands();
    void showContextMenu(const QPoint &point);

    int m_mode;
    CTimetableEditor *m_editor = nullptr;
    QLabel *m_caption = nullptr;
    CTimetableGrid *m_grid = nullptr;
    QHBoxLayout *m_buttons = nullptr;
    QPushButton *m_print = nullptr;
};
