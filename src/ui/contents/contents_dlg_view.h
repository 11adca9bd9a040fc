#pragma once
// STAND-IN for the contents pane, until the pane itself is built: the least
// the main frame needs of it. It is a titled pane that keeps its navigation
// mode (10 to 16, 17 for the contents of one player) and whether the playlist
// list is filtered by the current layout. It lists no contents and offers no
// command.

#include "app/pane_roles.h"
#include "app/titled_pane_dlg.h"

class CContentsDlgView : public CTitledPaneDlg, public IContentsView {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2003;
    static constexpr quint32 kTitleId = 5501;

    explicit CContentsDlgView(int mode);

    void SetViewMode(int mode) override { m_mode = mode; }
    int GetViewMode() const override { return m_mode; }
    void SetPlaylistFilter(bool on) override { m_playlistFilter = on; }
    bool IsPlaylistFilterOn() const { return m_playlistFilter; }

private:
    int m_mode;
    bool m_playlistFilter = true;
};
