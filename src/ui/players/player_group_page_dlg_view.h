#pragma once
// The common part of the player and group settings pages: the working copy
// of players and groups, a list of records with Add, Change and Remove, and
// OK storing both files together. Nothing is saved while a transfer or a
// command runs.

#include "model/player_group_edit.h"
#include "ui/players/settings_page_dlg_view.h"

class QLayout;
class QTableWidget;

class CPlayerGroupPageDlgView : public CSettingsPageDlgView {
    Q_OBJECT
public:
    void LoadSettings() override;
    const CPlayerGroupEdit &GetEdit() const { return m_edit; }

    virtual void OnAdd() = 0;
    virtual void OnChange() = 0;
    // Removes the selected record, never while a transfer or command runs.
    void OnRemove();

protected:
    CPlayerGroupPageDlgView(int viewId, const QSize &initialSize, quint32 titleId);

    bool SaveSettings() override;
    // Fills the list (and whatever follows it) from the working copy.
    virtual void refill() = 0;
    // Shows the selected record in the fields.
    virtual void showSelected() = 0;
    // Asked before a record is removed; false keeps it.
    virtual bool confirmRemove(int row);
    virtual void removeAt(int row) = 0;

    // The list of records, showing the selected one in the fields.
    QTableWidget *makeList(int id, const QList<quint32> &headerIds);
    // The Add, Change and Remove buttons in a row below the fields.
    QLayout *makeButtons(int addId, int changeId, int removeId);
    int selectedRow() const;
    // After a change of the working copy: refills, selects the row (none
    // when negative) and marks the page changed.
    void afterEdit(int selectRow);

    CPlayerGroupEdit m_edit;
    QTableWidget *m_list = nullptr;
};
