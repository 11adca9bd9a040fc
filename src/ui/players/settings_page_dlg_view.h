#pragma once
// The common part of the STAND-INs for the settings pages, until the pages
// are built: the least the main frame needs of a page. A page fills itself
// from the settings before it is shown, remembers whether the operator
// changed anything, asks 5007 before it is left with changes (Yes discards
// them), and its OK button saves what it can save and takes the first set-up
// one step further (or applies the setting once the set-up is complete).

#include "app/pane_roles.h"
#include "app/titled_pane_dlg.h"

#include <QStringList>

class QPlainTextEdit;
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
    bool OnInitDialog() override;
    // Writes the page's changes; false keeps the page as it is.
    virtual bool SaveSettings();
    void SetModified(bool modified) { m_modified = modified; }
    // The read-only text of the values the page shows.
    void ShowLines(const QStringList &lines);
    // Puts the page's controls between its title and the OK button.
    void AddContent(QLayout *content);

private:
    int m_viewId;
    bool m_modified = false;
    QPlainTextEdit *m_values = nullptr;
    QPushButton *m_ok = nullptr;
};
