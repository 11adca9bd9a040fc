#pragma once
// The playlist and background-music list pane (timetable_pane_dlg.h): the
// list loaded into its model with its number, title and rows. It knows its
// list type (52 playlist, 53 background-music list).
//
// On the edit pane's grid a playlist's tracks take any playable content and a
// background-music list's track audio. Beyond the shared commands its buttons
// preview the list on the preview player and set a playlist's resolution or a
// background-music list's name, and its context menu copies and pastes stored
// lists. The selected row of a playlist is the one the layout check draws.

#include "ui/timetable/timetable_pane_dlg.h"

class CPlaylistEditModel;

class CPlaylistEditDlgView : public CTimetablePaneDlg {
    Q_OBJECT
public:
    CPlaylistEditDlgView(int listType, int mode);

    int GetListType() const { return m_listType; }
    // The names of a list type's tracks, in track order.
    static QStringList TrackNames(const CPlaylistEditModel &model);

    void OnEditListChanged(int contentType, int flag) override;
    void OnCheckListChanged(int contentType, int flag) override;
    void OnPrint() override;

    void OnNew() override;
    void OnSave(bool asNew) override;
    void OnClear() override;
    void OnPreview();
    // The resolution of a playlist (CPlaylistOptDlg) or the name of a
    // background-music list (CNameDlg).
    void OnListSettings();
    void OnCopy();
    void OnPaste();

protected:
    bool OnInitDialog() override;
    void refresh() override;
    CTimetableModel *shownModel() const override;
    CTimetableEditor::Setup editorSetup() override;
    void initEditing() override;
    void addMenuCommands(QMenu &menu) override;

private:
    CPlaylistEditModel *model() const;
    void editedListChanged();

    int m_listType;
};
