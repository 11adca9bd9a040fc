#pragma once
// The web thumbnail maker of the program. The browser engine lives on the
// user-interface thread only, so a registration worker hands its request to
// that thread, where a hidden CUrlThumbDlg renders and captures the page, and
// waits for the result for at most the request's delay and the dialog's own
// bound. Called on the user-interface thread itself, it waits in a local
// event loop.

#include "ops/web_thumbnail.h"

class CUrlThumbThread final : public IUrlThumbnailMaker {
public:
    bool MakeUrlThumbnails(const UrlThumbRequest &request) override;

    // The program's maker, installed for the registration by the contents
    // area at start-up.
    static CUrlThumbThread &Instance();
};
