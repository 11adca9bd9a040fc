#pragma once
// The schedule pane: the schedule loaded into its model (the edit pane's or
// the check pane's) with its number, title, operating hours and rows. It
// knows whether it edits the schedule (mode 1) or only shows it (mode 0).
//
// The edit pane composes the day on its grid (timetable_editor.h):
// playlists and background-music lists drop on their own tracks, other
// playable contents on the four content tracks; its buttons make a new
// schedule, save it (the schedule setting dialog asks the dates of a new
// one) and print it. The check pane shows a stored schedule and can be
// emptied.

#include "ui/timetable/timetable_grid.h"

class CScheduleEditModel;
class CTimetableEditor;

class CScheduleEditDlgView : public CTimetablePaneDlg {
    Q_OBJECT
public:
    enum Mode : int { MODE_VIEWING = 0, MODE_EDITING = 1 };

    explicit CScheduleEditDlgView(int mode);

    int GetMode() const { return m_mode; }
    bool IsEditing() const { return m_mode == MODE_EDITING; }
    CTimetableEditor *GetEditor() const { return m_editor; }
    // The names of the schedule's tracks, in track order.
    static QStringList TrackNames(const CScheduleEditModel &model);

    void OnEditScheduleChanged(int flag) override;
    void OnCheckScheduleChanged() override;
    void OnContentsListChanged(int contentType, int index, int flag) override;
    void OnPrint() override;

    void OnNew();
    void OnSave(bool asNew);
    void OnClear();

protected:
    void refresh() override;
    void initEditing() override;

private:
    CScheduleEditModel *model() const;
    void showContextMenu(const QPoint &point);

    int m_mode;
    CTimetableEditor *m_editor = nullptr;
};
