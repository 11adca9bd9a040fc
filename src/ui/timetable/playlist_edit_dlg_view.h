#pragma once
// The playlist and background-music list pane: the list loaded into its model
// (the edit pane's or the check pane's) with its number, title and rows. It
// knows its list type (52 playlist, 53 background-music list) and whether it
// edits the list or only shows it.
//
// The edit pane composes the list on its grid (timetable_editor.h): contents
// of the contents pane drop on a track, a playlist's tracks take any playable
// content and a background-music list's track audio. Its buttons and context
// menu make a new list, save it (in place or under a new number), preview it
// on the preview player, set a playlist's resolution or a background-music
// list's name, copy and paste stored lists, and print. The check pane shows a
// stored list and can be emptied.

#include "ui/timetable/timetable_grid.h"

class CPlaylistEditModel;
class CTimetableEditor;

class CPlaylistEditDlgView : public CTimetablePaneDlg {
    Q_OBJECT
public:
    enum Mode : int { MODE_VIEWING = 0, MODE_EDITING = 1 };

    CPlaylistEditDlgView(int listType, int mode);

    int GetListType() const { return m_listType; }
    bool IsEditing() const { return m_mode == MODE_EDITING; }
    // The grid's editor; null in the check pane.
    CTimetableEditor *GetEditor() const { return m_editor; }
    // The names of a list type's tracks, in track order.
    static QStringList TrackNames(const CPlaylistEditModel &model);

    void OnEditListChanged(int contentType, int flag) override;
    void OnCheckListChanged(int contentType, int flag) override;
    void OnContentsListChanged(int contentType, int index, int flag) override;
    void OnPrint() override;

    // The pane's commands.
    void OnNew();
    void OnSave(bool asNew);
    void OnClear();
    void OnPreview();
    // The resolution of a playlist (CPlaylistOptDlg) or the name of a
    // background-music list (CNameDlg).
    void OnListSettings();
    void OnCopy();
    void OnPaste();

protected:
    void refresh() override;
    void initEditing() override;

private:
    CPlaylistEditModel *model() const;
    void showContextMenu(const QPoint &point);
    void editedListChanged();

    int m_listType;
    int m_mode;
    CTimetableEditor *m_editor = nullptr;
};
