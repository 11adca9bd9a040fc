#pragma once
// The Flash runtime of the embedded browser: a player compiled to
// WebAssembly, fetched at set-up and installed beside the program in
// FlashRuntimeFolder(). Pages load it from the program's own URL scheme,
// which serves that folder and nothing else, so no page needs wider access
// to local files. A small loader of ours, injected into every page, brings
// the runtime in, and the runtime then plays the page's embedded movies.

#include <QString>

class QWebEngineProfile;

// The scheme pages load the runtime from ("telv-res:/ruffle.js").
inline constexpr char kFlashRuntimeScheme[] = "telv-res";

// Makes the scheme known to the browser engine; must run before the
// application object is created.
void RegisterFlashRuntimeScheme();

// Why the runtime cannot be loaded (the file that is missing), or empty
// when it can.
QString FlashRuntimeMissingReason();

// Serves the runtime to the profile's pages and loads it into each of them;
// false, with nothing changed, when the runtime is missing. Installing it
// twice on one profile changes nothing.
bool InstallFlashRuntime(QWebEngineProfile *profile);
