#pragma once
// The schedule pane (timetable_pane_dlg.h): the schedule loaded into its
// model with its number, title, operating hours and rows.
//
// On the edit pane's grid playlists and background-music lists drop on their
// own tracks, other playable contents on the four content tracks, and an
// empty day starts when the players switch on; saving a new schedule asks its
// dates in the schedule setting dialog.

#include "ui/timetable/timetable_pane_dlg.h"

class CScheduleEditModel;

class CScheduleEditDlgView : public CTimetablePaneDlg {
    Q_OBJECT
public:
    explicit CScheduleEditDlgView(int mode);

    // The names of the schedule's tracks, in track order.
    static QStringList TrackNames(const CScheduleEditModel &model);

    void OnEditScheduleChanged(int flag) override;
    void OnCheckScheduleChanged() override;
    void OnPrint() override;

    void OnNew() override;
    void OnSave(bool asNew) override;
    void OnClear() override;

protected:
    void refresh() override;
    CTimetableModel *shownModel() const override;
    CTimetableEditor::Setup editorSetup() override;
    void initEditing() override;

private:
    CScheduleEditModel *model() const;
};
