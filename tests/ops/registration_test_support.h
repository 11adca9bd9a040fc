#pragma once
// The fixture of the registration tests: a fresh data tree with its settings
// files and content store, a fake clock (the pauses between files take no
// time), a recorder of the posted notices, a free-space query the test sets,
// and a thumbnail maker that records its requests.

#include "core/system_ini.h"
#include "model/contents_store.h"
#include "ops/content_registration.h"
#include "ops/regist_progress.h"
#include "ops/web_thumbnail.h"
#include "support/fake_clock.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <mutex>

class RecordingThumbnailMaker final : public IUrlThumbnailMaker {
public:
    bool MakeUrlThumbnails(const UrlThumbRequest &request) override;
    QList<UrlThumbRequest> requests;
};

struct PostedNotice {
    int notice;
    qint32 wParam;
    qint32 lParam;
};

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override;

    // A registration working on the fixture's store and seams.
    CContentRegistration registration();
    QString base() const { return m_dir.path(); }
    QString source(const QString &relative) const { return m_dir.filePath("source/" + relative); }
    QString thumb(int type, qint32 number, bool small) const;
    // Writes a picture of one colour (JPEG or BMP by the extension).
    QString writePicture(const QString &relative, QSize size, Qt::GlobalColor color = Qt::blue);
    QString writeBytes(const QString &relative, const QByteArray &bytes);
    // Sets a value of Q9S.ini and reloads it.
    void setSystemValue(const QString &section, const QString &key, const QString &value);
    CPropertyBase *record(int type, int position);
    QList<int> noticesOf(int notice) const;

    QTemporaryDir m_dir;
    ScopedFakeClock m_clock;
    CContentsStore m_store;
    CRegContProgress m_progress;
    RecordingThumbnailMaker m_thumbnails;
    quint64 m_freeBytes = quint64(1) << 40;
    // Runs on each notice (after it is recorded).
    std::function<void(const PostedNotice &)> m_onNotice;
    mutable std::mutex m_mutex;
    QList<PostedNotice> m_notices;
};
