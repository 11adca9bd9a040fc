#pragma once
// Which files a local page's site may serve besides the page itself. A page
// is a content the operator registered, not one the operator trusts, so its
// site never reaches the operator's own files, nor another content's: a
// folder that is, or holds, the file-system root, the home folder, a folder
// the user's programs share (the desktop, downloads and the other user
// folders, a temporary folder) or the program's data tree
// ("<base>/TelvData") is not taken, nor any place inside the data tree other
// than the page's own content's (a web package's folder "Content/Url/<its
// number>" and below, or the movie of a Flash content). Such a page is served
// alone. docs/flash-runtime.md gives the whole rule.

#include <QString>

class CContentsStore;

struct LocalPageSite {
    QString root;    // the site's folder, or its one file (real path); empty: the page alone
    QString refusal; // why the place asked for was not taken; empty when it was
};

// The site of a page that asks for wantedRoot (a folder, or one file), the
// data tree being that of baseFolder (none when empty), the page's content
// owning ownPlace in it (its package folder or its movie; empty for none).
LocalPageSite LocalPageSiteOf(const QString &wantedRoot, const QString &baseFolder, const QString &ownPlace);

// Whether the site of page, asking for its own folder, is served alone.
bool IsLocalPageServedAlone(const QString &page, const QString &baseFolder, const QString &ownPlace);

// The own folder of web content number in the store's web folder
// ("<web folder>/<9-digit number>", whether it exists or not); empty for a
// number that names none.
QString WebContentOwnFolder(const CContentsStore &store, qint32 number);

// Whether a path relative to a site's folder names a hidden file or passes
// through a hidden folder (a component that starts with ".").
bool IsHiddenRelativePath(const QString &relativePath);
