#include "ops_test_library.h"

#include "core/clock.h"
#include "core/content_id.h"
#include "core/data_folders.h"
#include "core/path_utils.h"
#include "core/staged_files.h"
#include "core/system_ini.h"
#include "model/media_property.h"
#include "model/playlist_edit_model.h"
#include "model/playlist_property.h"
#include "model/streaming_property.h"
#include "model/thumbnail_maker.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

void WriteTestFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    file.write(data);
}

TestLibrary::TestLibrary() : m_root(m_dir.path()), m_store(std::make_unique<CContentsStore>())
{
    GetSystemIni().Open(QDir(m_root).filePath(QStringLiteral("TelvData/Q9Data/Q9S.ini")), m_root);
    m_store->SetFolders(m_root, QDir(m_root).filePath(QStringLiteral("program")));
    m_store->CreateFolders();
    // As the start does: the sets of this library journal in its data tree.
    SetStagedFilesDataTree(DataTreeOf(m_root));
    m_store->LoadLists();
}

TestLibrary::~TestLibrary() = default;

void TestLibrary::addContent(int type, qint32 number, const QString &fileName, const QByteArray &data)
{
    std::unique_ptr<CPropertyBase> record = CreateProperty(type);
    record->SetIndex(number);
    record->SetTitle(QStringLiteral("title %1").arg(number));
    record->SetInfo(QStringLiteral("cat"));
    record->SetCreateDate(SystemTime{2024, 5, 0, 6, 7, 8, 9, 10});
    if (auto *media = dynamic_cast<CMediaProperty *>(record.get())) {
        QString path;
        if (type == 3) {
            const QString text = QDir(m_root).filePath(QStringLiteral("TelvData/Q9Data/Text"));
            QByteArray bitmap = "BM" + QByteArray(4, '\0') + data;
            qToLittleEndian<quint32>(quint32(bitmap.size()), bitmap.data() + 2);
            MakeTelopFilePath(text, number, TELOP_FILE_BITMAP, path);
            WriteTestFile(path, bitmap);
            media->SetLink(fileName);
            if (fileName.isEmpty()) {
                MakeTelopFilePath(text, number, TELOP_FILE_TEXT, path);
                WriteTestFile(path, "telop text " + data.left(8));
            } else {
                record->SetSize(quint64(bitmap.size()));
            }
        } else if (type == 4 && !fileName.isEmpty()) {
            media->SetLink(fileName);
        } else if (type == 4) {
            const QString package = FormatContentIdFixed(number);
            media->SetLink(package + QStringLiteral("/index.html"));
            const QString folder = JoinPath(m_store->GetContentFolder(4), package);
            WriteTestFile(JoinPath(folder, QStringLiteral("index.html")), "<html>" + data + "</html>");
            WriteTestFile(JoinPath(folder, QStringLiteral("img/a.png")), data + data);
            WriteTestFile(JoinPath(folder, QStringLiteral("bad name.png")), "left out");
            record->SetSize(quint64(data.size() * 3 + 13));
        } else {
            media->SetLink(fileName);
            path = JoinPath(m_store->GetContentFolder(type), fileName);
            WriteTestFile(path, data);
            record->SetSize(quint64(data.size()));
            media->SetFileDate(ToSystemTime(QFileInfo(path).lastModified()));
        }
        if (!ThumbnailFolder(m_root, type).isEmpty()) {
            for (bool small : {true, false}) {
                MakeThumbnailPath(ThumbnailFolder(m_root, type), number, small, path);
                WriteTestFile(path, "jpeg " + QByteArray::number(number) + (small ? "t" : ""));
            }
        }
    }
    ASSERT_TRUE(m_store->GetList(type)->Add(record.get()));
}

void TestLibrary::addPlaylist(qint32 number, const QList<QPair<qint32, int>> &contents)
{
    CPlaylistEditModel model(52);
    model.SetFolders(m_store->m_playlistFolder, m_store->m_sequenceFolder);
    int prefix = 0;
    SplitContentId(number, &prefix, nullptr, nullptr);
    model.SetIdPrefix(prefix);
    int second = 0;
    for (const auto &[content, type] : contents) {
        CTimetableItem item;
        ASSERT_TRUE(item.Set(content, TimeValue{0, quint16(second / 60), quint16(second % 60), 0},
                             TimeValue{0, quint16((second + 10) / 60), quint16((second + 10) % 60), 0}, type, 0));
        ASSERT_TRUE(model.InsertItem(1, item));
        second += 10;
    }
    CTimetableItem again;
    ASSERT_TRUE(again.Set(contents.first().first, TimeValue{0, 0, 0, 0}, TimeValue{0, 0, 5, 0},
                          contents.first().second, 0));
    ASSERT_TRUE(model.InsertItem(2, again));
    ASSERT_TRUE(model.Save(number, 52));
    CPlaylistProperty record;
    record.SetIndex(number);
    record.SetTitle(QStringLiteral("playlist %1").arg(number));
    record.SetCreateDate(SystemTime{2024, 6, 0, 1, 2, 3, 4, 5});
    ASSERT_TRUE(m_store->GetList(52)->Add(&record));
}

bool TestLibrary::save()
{
    return m_store->SaveLists(0, 1);
}

QMap<QString, QByteArray> TestLibrary::files() const
{
    QMap<QString, QByteArray> contents;
    QDirIterator it(JoinPath(m_root, QStringLiteral("TelvData")), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(m_root).relativeFilePath(path);
        if (relative.endsWith(QLatin1String(".ini")) || relative.contains(QLatin1String("/Log")))
            continue;
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        contents.insert(relative, file.readAll());
    }
    return contents;
}

namespace {

// Sees each event the application itself receives before it is handled,
// among them each hand-over a worker posts (the call that runs the steps
// waiting for the window's thread). The event is not read: Qt, built without
// ThreadSanitizer, made it on the worker under a lock the sanitizer does not
// see.
class HandOverWatch final : public QObject {
public:
    explicit HandOverWatch(std::function<void()> held) : m_held(std::move(held))
    {
        if (m_held)
            QCoreApplication::instance()->installEventFilter(this);
    }
    ~HandOverWatch() override { QCoreApplication::instance()->removeEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *) override
    {
        if (watched == QCoreApplication::instance())
            m_held();
        return false;
    }

private:
    std::function<void()> m_held;
};

} // namespace

void RunWhileTheWindowPaints(const std::function<void()> &work, const std::function<void()> &paint,
                             const std::function<void()> &held)
{
    const HandOverWatch watch(held);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done.store(true);
    });
    while (!done.load()) {
        QCoreApplication::processEvents();
        paint();
    }
    worker.join();
}
