#pragma once
// A content library in a temporary data root for the operation tests: a
// content store over it with records of every kind a playlist plays, their
// files and thumbnails, and playlists that use them.

#include "model/contents_store.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class TestLibrary {
public:
    TestLibrary();
    ~TestLibrary();

    const QString &root() const { return m_root; }
    CContentsStore &store() { return *m_store; }

    // A content record with its files (type 1, 2, 3, 4, 5 or 8); a web page
    // gets a local package with a page, a picture in a sub-folder and a file
    // whose name the player cannot store, or links to the web address given
    // as its file name. A telop's bitmap is data behind a
    // bitmap's size field; a telop with a file name ("<number>.bmp") is a
    // bitmap telop, one without a typed telop with a text file too.
    void addContent(int type, qint32 number, const QString &fileName, const QByteArray &data);
    // A playlist whose first track plays every given content one after the
    // other, each for ten seconds, and whose second track plays the first
    // content again.
    void addPlaylist(qint32 number, const QList<QPair<qint32, int>> &contents);
    bool save();

    // Every file below the data root ("TelvData/...") with its bytes,
    // without the settings files and logs.
    QMap<QString, QByteArray> files() const;

private:
    QTemporaryDir m_dir;
    QString m_root;
    std::unique_ptr<CContentsStore> m_store;
};

void WriteTestFile(const QString &path, const QByteArray &data);

// Runs work on a thread of its own while this thread acts as the window's:
// it runs what the work hands over and calls paint between its events, as
// the list views repaint, until the work has ended. held, when given, is
// called as the window takes up an event of the application's own, among
// them each step the work hands over, before it runs it: the work is waiting
// then, so what it changed itself is seen whole.
void RunWhileTheWindowPaints(const std::function<void()> &work, const std::function<void()> &paint,
                             const std::function<void()> &held = {});
