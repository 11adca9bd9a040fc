#pragma once
// The materials settings page (view 1528): which content types are in use
// and how many contents of each type (and of playlists, BGM lists and
// schedules) may be registered, the players' transparent colour, and the
// names of the calendar colours (CColorInfoDlg, saved by that dialog at once).

#include "core/win_types.h"
#include "ui/players/settings_page_dlg_view.h"

#include <QList>

class CColorButton;
class QCheckBox;
class QSpinBox;

class CSetContDlgView : public CSettingsPageDlgView {
    Q_OBJECT
public:
    // Controls of the page, by their ids: the use switch and the limit of a
    // type are kUseBaseId and kMaxBaseId plus the type.
    static constexpr int kUseBaseId = 1700;
    static constexpr int kMaxBaseId = 1800;
    static constexpr int kTransparentId = 1621;
    static constexpr int kColorNamesId = 1622;

    CSetContDlgView();
    void LoadSettings() override;

    void OnTransparentColor();
    void OnColorNames();

protected:
    bool OnInitDialog() override;
    bool SaveSettings() override;

private:
    struct TypeRow {
        int type;
        QCheckBox *use;  // null for types always in use
        QSpinBox *limit; // null for types without a limit
    };

    QList<TypeRow> m_rows;
    CColorButton *m_transparent = nullptr;
};
