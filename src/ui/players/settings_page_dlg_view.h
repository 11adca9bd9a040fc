#pragma once
// The common part of the settings pages: a page fills itself from the
// settings before it is shown, remembers whether the operator changed
// anything, asks 5007 before it is left with changes (Yes discards them), and
// its OK button saves and takes the first set-up one step further (or applies
// the setting once the set-up is complete).

#include "app/pane_roles.h"
#include "app/titled_pane_dlg.h"

class QLayout;
class QPushButton;

class CSettingsPageDlgView : public CTitledPaneDlg, public ISettingsPage {
    Q_OBJECT
public:
    // The OK button.
    static constexpr int kOkButtonId = 1;

    // viewId is the page's navigation view, which is also its setting id.
    CSettingsPageDlgView(int viewId, const QSize &initialSize, quint32 titleId);

    int GetViewId() const { return m_viewId; }
    bool IsModified() const { return m_modified; }

    bool QueryClose() override;
    // The OK button: saves, then the next set-up step.
    void OnOk();

protected:
    // The page's settings could not be written.
    static constexpr quint32 kMsgSaveFailed = 5481;

    bool OnInitDialog() override;
    // Writes the page's changes; false keeps the page as it is.
    virtual bool SaveSettings();
    void SetModified(bool modified) { m_modified = modified; }
    // Puts the page's controls between its title and the OK button.
    void AddContent(QLayout *content);
    // Marks the page changed when the value of the control (an edit, check
    // box, spin box, time edit or combo box) changes, except while filling.
    void WatchChanges(QWidget *control);
    // Set while the page fills its controls from the settings.
    void SetFilling(bool filling) { m_filling = filling; }
    bool IsFilling() const { return m_filling; }

private:
    void onValueChanged();

    int m_viewId;
    bool m_modified = false;
    bool m_filling = false;
    QPushButton *m_ok = nullptr;
};
