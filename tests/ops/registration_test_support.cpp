#include "registration_test_support.h"

#include "core/app_ini.h"
#include "core/data_folders.h"
#include "core/profile_ini.h"
#include "model/contents_list.h"
#include "model/thumbnail_maker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool RecordingThumbnailMaker::MakeUrlThumbnails(const UrlThumbRequest &request)
{
    requests.append(request);
    return false;
}

void RegistrationTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(CreateDataFolderTree(base()));
    GetSystemIni().Open(DataFolderOf(base()) + "/Q9S.ini", base());
    GetAppIni().Open(DataFolderOf(base()) + "/Q9A.ini", base());
    m_store.SetFolders(base(), m_dir.filePath("program"));
    ASSERT_TRUE(m_store.CreateFolders());
    QDir().mkpath(source(""));
}

CContentRegistration RegistrationTest::registration()
{
    RegistEnvironment env;
    env.store = &m_store;
    env.dataRoot = base();
    env.progress = &m_progress;
    env.post = [this](int notice, qint32 wParam, qint32 lParam) {
        const PostedNotice posted{notice, wParam, lParam};
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_notices.append(posted);
        }
        if (m_onNotice)
            m_onNotice(posted);
    };
    env.freeSpace = [this](const QString &, quint64 &bytes) {
        bytes = m_freeBytes;
        return true;
    };
    env.thumbnails = &m_thumbnails;
    return CContentRegistration(env);
}

QString RegistrationTest::thumb(int type, qint32 number, bool small) const
{
    QString path;
    MakeThumbnailPath(ThumbnailFolder(base(), type), number, small, path);
    return path;
}

QString RegistrationTest::writePicture(const QString &relative, QSize size, Qt::GlobalColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const QString path = source(relative);
    QDir().mkpath(QFileInfo(path).path());
    EXPECT_TRUE(image.save(path));
    return path;
}

QString RegistrationTest::writeBytes(const QString &relative, const QByteArray &bytes)
{
    const QString path = source(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

void RegistrationTest::setSystemValue(const QString &section, const QString &key, const QString &value)
{
    CProfileIni(GetSystemIni().GetFileName()).WriteString(section, key, value);
    GetSystemIni().Load();
}

CPropertyBase *RegistrationTest::record(int type, int position)
{
    CContentsList *list = m_store.GetList(type);
    return list ? list->GetAt(position) : nullptr;
}

QList<int> RegistrationTest::noticesOf(int notice) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QList<int> values;
    for (const PostedNotice &posted : m_notices)
        if (posted.notice == notice)
            values.append(posted.wParam);
    return values;
}
