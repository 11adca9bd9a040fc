#pragma once
// One tab page of the contents pane: the list of one content type on the
// type's colour (the list that the mode edits keeps the system colour). The
// pane passes the frame's notifications on to its pages.

#include "app/telv_pane_dlg.h"

class CContentsListCtrl;

class CContentsListDlg : public CTelvPaneDlg {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2004;

    explicit CContentsListDlg(int contentType);

    int GetContentType() const { return m_type; }
    CContentsListCtrl *GetList() const { return m_list; }

    // Gives the page the pane's mode: the list's mode, the background.
    void SetMode(int mode);
    // Creates the page inside the pane's page area; false when it fails.
    bool CreatePage(QWidget *parent);
    bool IsPageCreated() const { return m_list != nullptr; }
    // Selects the view the type was last shown in, then the columns and rows.
    void ApplyView();

    void OnSettingChanged(int settingId) override;
    void OnPlayerChanged() override;
    void OnGroupChanged() override;
    // index: set for the player-side lists; flag: clear the selection first.
    void OnContentsListChanged(int contentType, int index, int flag) override;

protected:
    bool OnInitDialog() override;

private:
    bool isEditedList(int mode) const;

    int m_type;
    int m_mode = 10;
    CContentsListCtrl *m_list = nullptr;
};
