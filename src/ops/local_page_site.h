#pragma once
// Which folder a local page's site may serve besides the page itself. A page
// is a content the operator registered, not one the operator trusts, so its
// site never reaches the operator's own files: a folder that is, or holds,
// the file-system root, the home folder or the program's data tree
// ("<base>/TelvData") is not taken, nor a folder inside the data tree other
// than a content's own (one below "<base>/TelvData/Content"). Such a page is
// served alone. docs/flash-runtime.md gives the whole rule.

#include <QString>

struct LocalPageSite {
    QString folder;  // the site's folder (real path); empty: the page alone
    QString refusal; // why the folder asked for was not taken; empty when it was
};

// The site of a page that asks for wantedFolder, the data tree being that of
// baseFolder (none when empty).
LocalPageSite LocalPageSiteOf(const QString &wantedFolder, const QString &baseFolder);

// Whether the site of page, asking for its own folder, is served alone.
bool IsLocalPageServedAlone(const QString &page, const QString &baseFolder);

// Whether a path relative to a site's folder names a hidden file or passes
// through a hidden folder (a component that starts with ".").
bool IsHiddenRelativePath(const QString &relativePath);
