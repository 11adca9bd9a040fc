#pragma once
// The program's own URL scheme for local pages: a registered page file or
// the Flash page is shown as "telv-page://<site>/<path>", served from its
// own folder (the Flash page: its movie) and nothing else, to that site and
// the engine's own navigation only. The engine itself keeps such a page
// from local files (the scheme is neither local nor allowed local access),
// and from the APIs of secure contexts (the scheme is not secure: no
// service workers, no WebTransport). Every document of the scheme
// carries a Content-Security-Policy that lets it and every worker it starts
// reach only its own site and the Flash runtime; workers may only be made
// from blob: addresses, which inherit the policy. docs/flash-runtime.md
// describes the whole confinement.

#include <QString>
#include <QUrl>

class QWebEngineProfile;

inline constexpr char kLocalPageScheme[] = "telv-page";

// Makes the scheme known to the browser engine, and switches off the
// transports no policy governs (WebRTC over UDP); must run before the
// application object is created.
void PrepareLocalPageEngine();

// Serves page, with the files inside root (a folder, or one file), as a
// site of its own on the profile, and returns the page's address there: the
// page keeps its path below a root folder, or its file name when it lies
// elsewhere; a root file is answered at its file name. The page's content
// owns ownPlace in the data tree (empty: nothing). A root that would reach
// the operator's own files or another content's (ops/local_page_site.h) is
// not served: the page is then served alone, and the log says why.
QUrl ServeLocalPage(QWebEngineProfile *profile, const QString &page, const QString &root, const QString &ownPlace);

// Stops serving the site of address (a page no longer shown).
void WithdrawLocalPage(QWebEngineProfile *profile, const QUrl &address);
