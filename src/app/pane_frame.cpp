#include "app/pane_frame.h"

namespace {

// User-interface thread only, like the frame itself.
IPaneFrame *g_paneFrame = nullptr;

} // namespace

void SetPaneFrame(IPaneFrame *frame)
{
    g_paneFrame = frame;
}

IPaneFrame *GetPaneFrame()
{
    return g_paneFrame;
}
