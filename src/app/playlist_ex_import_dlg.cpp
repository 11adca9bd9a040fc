#include "app/playlist_ex_import_dlg.h"

#include "widgets/control_id.h"
#include "widgets/file_dialog_prompter.h"
#include "core/content_id.h"
#include "core/file_utils.h"
#include "core/message_box.h"
#include "core/path_utils.h"
#include "core/printf_format.h"
#include "core/string_table.h"
#include "ops/export_import.h"
#include "ops/send_info.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStorageInfo>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimerEvent>

#include <algorithm>

namespace {

constexpr quint32 kMsgFolderNotWritable = 5231;
constexpr quint32 kTextStopped = 5240;
constexpr quint32 kTextRemaining = 5413;
constexpr quint32 kTextDone = 5416;
constexpr quint32 kMsgExportRunning = 5417;
constexpr quint32 kMsgImportRunning = 5418;
constexpr quint32 kTextError = 5419;
constexpr quint32 kTextPackageFilter = 5885;
constexpr quint32 kTextCompressing = 5420;
constexpr quint32 kTextNothingUpdated = 5422;
constexpr quint32 kMsgContentMissing = 5427;
constexpr quint32 kMsgNotPackage = 5428;
constexpr quint32 kMsgFilesLeftOut = 5429;
constexpr quint32 kTextTooLarge = 5421;
constexpr quint32 kMsgAskReplace = 5434;
constexpr quint32 kTextReplaceDeclined = 5435;
constexpr quint32 kTextDoneReplaced = 5436;
constexpr quint32 kTextMoreItems = 5437;
constexpr quint32 kMsgImportCutShort = 5439;
// A message names this many items, then how many more.
constexpr int kListedItems = 20;
constexpr quint32 kCaptionImport = 6300;
constexpr quint32 kCaptionExport = 6301;
constexpr int kCompressTimerMs = 500;
// The blanks a line edit keeps on both sides of its text, and the cursor.
constexpr int kEditTextRoom = 6;

const char *const kFileLabel = "ファイル：";
const char *const kBrowseText = "参照";
const char *const kSearchDrivesText = "ドライブ検索";
const char *const kToDriveText = "MXA-PQ71用メモリへの書き出し";
const char *const kStartText = "開始";
const char *const kStopText = "中止";
const char *const kCloseText = "閉じる";
const char *const kPackageName = "Q9Content.plst";
// What stands for an item's title where it has none, and what differs
// between the library's item and the package's.
const char *const kUntitledText = "（タイトルなし）";
const char *const kFilesDifferText = "［ファイルの内容が異なります］";
const char *const kSettingsDifferText = "［設定が異なります］";
const char *const kBothDifferText = "［ファイルの内容と設定が異なります］";

QString TitleText(const QString &title)
{
    return title.isEmpty() ? QString::fromUtf8(kUntitledText) : title;
}

// A title with its file, for the items that have a file name.
QString TitleAndFile(const QString &title, const QString &file)
{
    return file.isEmpty() ? TitleText(title) : QStringLiteral("%1（%2）").arg(TitleText(title), file);
}

// An item as the import's messages name it: number, type, title and file.
QString ItemText(quint32 number, int type, const QString &title, const QString &file = QString())
{
    return QStringLiteral("%1 %2：%3")
        .arg(FormatContentIdFixed(number), LoadString(TypeNameId(type)).trimmed(), TitleAndFile(title, file));
}

// A library item the import would replace: the library's title and file,
// the package's where they are others, and what differs.
QString ReplacementText(const ImportReplacement &item)
{
    QString text = ItemText(item.number, item.type, item.ownTitle, item.ownFile);
    if (item.packageTitle != item.ownTitle || item.packageFile != item.ownFile)
        text += QStringLiteral(" → ") + TitleAndFile(item.packageTitle, item.packageFile);
    const char *differ = item.filesDiffer ? (item.settingsDiffer ? kBothDifferText : kFilesDifferText)
                                          : kSettingsDifferText;
    return text + QString::fromUtf8(differ);
}

// The lines of a message that names items: the first ones, then how many more.
QString ListedItems(const QStringList &lines)
{
    QStringList listed = lines.mid(0, kListedItems);
    if (lines.size() > kListedItems)
        listed << FormatString(kTextMoreItems, int(lines.size() - kListedItems));
    return listed.join(QLatin1Char('\n'));
}

} // namespace

CPlaylistExImportDlg::CPlaylistExImportDlg(IExImportHost *host)
    : QDialog(dynamic_cast<QWidget *>(host)), m_host(host)
{
    setObjectName(QString::number(kTemplateId));
    setWindowModality(Qt::ApplicationModal);
    buildControls();
    SetMode(0);
}

void CPlaylistExImportDlg::buildControls()
{
    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QString::fromUtf8(kFileLabel), this), 0, 0);
    m_driveCombo = WithControlId(new QComboBox(this), 6504);
    m_fileName = WithControlId(new QLineEdit(this), 1106);
    m_browse = WithControlId(new QPushButton(QString::fromUtf8(kBrowseText), this), 1028);
    m_searchDrives = WithControlId(new QPushButton(QString::fromUtf8(kSearchDrivesText), this), 6505);
    grid->addWidget(m_driveCombo, 0, 1);
    grid->addWidget(m_fileName, 0, 1);
    grid->addWidget(m_browse, 0, 2);
    grid->addWidget(m_searchDrives, 0, 3);
    m_toDrive = WithControlId(new QCheckBox(QString::fromUtf8(kToDriveText), this), 6502);
    grid->addWidget(m_toDrive, 1, 0, 1, 4);
    m_currentFile = WithControlId(new QLabel(this), 1245);
    grid->addWidget(m_currentFile, 2, 0, 1, 4);
    m_progress = WithControlId(new QProgressBar(this), 6436);
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    // Room for the widest percent, but no percent before a run has one.
    m_percent = WithControlId(new QLabel(this), 6501);
    m_percent->setMinimumWidth(m_percent->fontMetrics().horizontalAdvance(QStringLiteral("100 %")));
    grid->addWidget(m_progress, 3, 0, 1, 3);
    grid->addWidget(m_percent, 3, 3);
    m_status = WithControlId(new QLabel(this), 6503);
    grid->addWidget(m_status, 4, 0, 1, 4);
    auto *buttons = new QHBoxLayout;
    m_start = WithControlId(new QPushButton(QString::fromUtf8(kStartText), this), 1010);
    m_stop = WithControlId(new QPushButton(QString::fromUtf8(kStopText), this), 1032);
    m_close = WithControlId(new QPushButton(QString::fromUtf8(kCloseText), this), 2);
    for (QPushButton *button : {m_start, m_stop, m_close}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, 5, 0, 1, 4);
    connect(m_start, &QPushButton::clicked, this, &CPlaylistExImportDlg::OnStart);
    connect(m_stop, &QPushButton::clicked, this, &CPlaylistExImportDlg::OnStop);
    connect(m_close, &QPushButton::clicked, this, &CPlaylistExImportDlg::OnClose);
    connect(m_browse, &QPushButton::clicked, this, &CPlaylistExImportDlg::OnBrowse);
    connect(m_searchDrives, &QPushButton::clicked, this, [this] { FillDriveCombo(); });
    connect(m_fileName, &QLineEdit::textChanged, this, &CPlaylistExImportDlg::fitFileName);
    connect(m_toDrive, &QCheckBox::toggled, this, [this](bool on) {
        m_drive = on;
        showRunState();
    });
}

void CPlaylistExImportDlg::fitFileName()
{
    // The whole path in view, up to half the screen; a longer one scrolls.
    QStyleOptionFrame option;
    option.initFrom(m_fileName);
    option.lineWidth = m_fileName->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, m_fileName);
    const QSize text(m_fileName->fontMetrics().horizontalAdvance(m_fileName->text()) + kEditTextRoom,
                     m_fileName->fontMetrics().height());
    const int wanted = m_fileName->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, m_fileName).width();
    const int bound = screen()->availableGeometry().width() / 2;
    m_fileName->setMinimumWidth(std::min(wanted, bound));
    if (isVisible())
        adjustSize();
}

void CPlaylistExImportDlg::SetMode(int mode)
{
    m_import = mode == 1;
    if (m_import)
        m_toDrive->setChecked(false);
    setWindowTitle(LoadString(m_import ? kCaptionImport : kCaptionExport));
    // A window opened again shows nothing of the run before.
    clearRun();
    showRunState();
}

void CPlaylistExImportDlg::clearRun()
{
    m_status->clear();
    m_currentFile->clear();
    m_percent->clear();
    m_progress->setValue(0);
}

void CPlaylistExImportDlg::SetPlaylistIndexes(const QList<quint32> &numbers)
{
    if (numbers != m_playlists)
        m_keepPackage = false;
    m_playlists = numbers;
}

void CPlaylistExImportDlg::showRunState()
{
    m_toDrive->setVisible(!m_import);
    m_driveCombo->setVisible(m_drive);
    m_searchDrives->setVisible(m_drive);
    m_fileName->setVisible(!m_drive);
    m_start->setEnabled(!m_running);
    m_stop->setEnabled(m_running);
    m_toDrive->setEnabled(!m_running);
}

QString CPlaylistExImportDlg::BrowsePackageFile(const QString &start)
{
    FileDialogRequest request;
    request.title = windowTitle();
    // Without a chosen file the dialog starts in the home folder, never in the
    // process's current folder.
    request.folder = start.isEmpty() ? QDir::homePath() : QFileInfo(start).path();
    request.fileName = start.isEmpty() ? QString::fromLatin1(kPackageName) : QFileInfo(start).fileName();
    request.filter = LoadString(kTextPackageFilter);
    request.defaultExt = QStringLiteral("plst");
    // Over the main window: this window may not be placed yet.
    return m_import ? PromptOpenFileName(parentWidget(), request) : PromptSaveFileName(parentWidget(), request);
}

QString CPlaylistExImportDlg::FillDriveCombo()
{
    const QString kept = m_driveCombo->currentText();
    m_driveCombo->clear();
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        // Removable and external media are mounted below these folders; the
        // system's own file systems are no target.
        const QString root = volume.rootPath();
        if (volume.isValid() && volume.isReady() && !volume.isReadOnly()
            && (root.startsWith(QLatin1String("/media/")) || root.startsWith(QLatin1String("/run/media/"))
                || root.startsWith(QLatin1String("/mnt/"))))
            m_driveCombo->addItem(root);
    }
    if (!kept.isEmpty() && m_driveCombo->findText(kept) < 0)
        m_driveCombo->addItem(kept);
    if (!kept.isEmpty())
        m_driveCombo->setCurrentIndex(m_driveCombo->findText(kept));
    return m_driveCombo->currentText();
}

bool CPlaylistExImportDlg::GetTargetPath()
{
    QString path;
    if (m_drive) {
        // A folder can always be chosen besides the mounted drives.
        FileDialogRequest request;
        request.title = windowTitle();
        request.folder = FillDriveCombo();
        path = PromptExistingFolder(parentWidget(), request);
    } else {
        path = BrowsePackageFile(m_fileName->text());
    }
    if (path.isEmpty())
        return false;
    if (!m_import) {
        const QString folder = m_drive ? path : QFileInfo(path).path();
        if (CheckFolderWritable(folder) != 0) {
            ShowMessage(this, kMsgFolderNotWritable, kTitleCaption, MB_OK | MB_ICONWARNING);
            return false;
        }
    }
    if (m_drive) {
        if (m_driveCombo->findText(path) < 0)
            m_driveCombo->addItem(path);
        m_driveCombo->setCurrentIndex(m_driveCombo->findText(path));
    } else {
        m_fileName->setText(path);
    }
    return true;
}

void CPlaylistExImportDlg::RestoreWindowPos()
{
    adjustSize();
    if (QWidget *owner = parentWidget())
        move(owner->geometry().center() - rect().center());
}

void CPlaylistExImportDlg::OnBrowse()
{
    if (m_running) {
        ShowMessage(this, m_import ? kMsgImportRunning : kMsgExportRunning, kTitleCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    GetTargetPath();
}

void CPlaylistExImportDlg::OnStart()
{
    if (m_running)
        return;
    const QString target = m_drive ? m_driveCombo->currentText() : m_fileName->text();
    if (target.isEmpty() && !GetTargetPath())
        return;
    const QString path = m_drive ? m_driveCombo->currentText() : m_fileName->text();
    m_filesDone = m_totalFiles = 0;
    m_bytesDone = m_totalBytes = 0;
    clearRun();
    m_running = true;
    showRunState();
    const bool started = m_import ? m_host->StartImport(path)
                                  : m_host->StartExport(m_playlists, path, !m_drive, m_keepPackage);
    if (!started) {
        m_running = false;
        m_status->setText(LoadString(kTextError));
        showRunState();
    }
}

void CPlaylistExImportDlg::OnStop()
{
    if (m_running)
        m_host->StopExImport();
}

void CPlaylistExImportDlg::OnClose()
{
    if (m_running) {
        ShowMessage(this, m_import ? kMsgImportRunning : kMsgExportRunning, kTitleCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    stopCompressTimer();
    hide();
}

// ---- Progress -----------------------------------------------------------------

void CPlaylistExImportDlg::OnExImportProgress(int number, quint32 wParam, quint32 lParam)
{
    const quint64 bytes = (quint64(wParam) << 32) | lParam;
    switch (number) {
    case EXPORT_MSG_BEGIN_COPY:
    case IMPORT_MSG_BEGIN_COPY:
        BeginCopy(m_host->GetExImportTotalCount(), m_host->GetExImportTotalBytes());
        break;
    case EXPORT_MSG_FILE:
    case IMPORT_MSG_FILE:
        SetCurrentFile(wParam, int(lParam));
        break;
    case EXPORT_MSG_PERCENT:
    case IMPORT_MSG_PERCENT:
        SetPercent(int(wParam));
        break;
    case EXPORT_MSG_BYTES:
        ShowExportProgress(bytes);
        break;
    case IMPORT_MSG_BYTES:
        ShowImportProgress(bytes);
        break;
    case EXPORT_MSG_FILE_END:
    case IMPORT_MSG_FILE_END:
        EndFile(lParam, wParam);
        break;
    case EXPORT_MSG_COMPRESS:
        BeginCompress();
        break;
    case IMPORT_MSG_ASK:
        askReplace();
        break;
    default:
        break;
    }
}

// The import waits until the operator says whether the library items it
// would replace may go: each by number, type, its title and file in the
// library and in the package, and what differs.
void CPlaylistExImportDlg::askReplace()
{
    QStringList lines;
    for (const ImportReplacement &item : m_host->GetImportReplacements())
        lines << ReplacementText(item);
    const int answer =
        ShowMessageFormat(this, kTitleCaption, MB_YESNO | MB_ICONQUESTION, kMsgAskReplace, ListedItems(lines));
    m_host->AnswerImportReplace(answer == IDYES);
}

void CPlaylistExImportDlg::BeginCopy(quint32 totalFiles, quint64 totalBytes)
{
    m_totalFiles = totalFiles;
    m_totalBytes = totalBytes;
    m_filesDone = 0;
    m_bytesDone = 0;
    m_status->setText(FormatString(kTextRemaining, 0, int(totalFiles), 0, int(totalBytes >> 20)));
}

void CPlaylistExImportDlg::SetCurrentFile(quint32 number, int)
{
    m_currentFile->setText(FormatContentIdFixed(number));
    m_progress->setValue(0);
}

void CPlaylistExImportDlg::SetPercent(int percent)
{
    m_progress->setValue(qBound(0, percent, 100));
    m_percent->setText(QStringLiteral("%1 %").arg(percent));
}

void CPlaylistExImportDlg::ShowExportProgress(quint64 bytes)
{
    m_status->setText(FormatString(kTextRemaining, int(m_filesDone), int(m_totalFiles),
                                   int((m_bytesDone + bytes) >> 20), int(m_totalBytes >> 20)));
}

void CPlaylistExImportDlg::ShowImportProgress(quint64 bytes)
{
    ShowExportProgress(bytes);
}

void CPlaylistExImportDlg::EndFile(quint32 sizeLow, quint32 sizeHigh)
{
    m_progress->setValue(100);
    m_bytesDone += (quint64(sizeHigh) << 32) | sizeLow;
    ++m_filesDone;
    m_status->setText(FormatString(kTextRemaining, int(m_filesDone), int(m_totalFiles), int(m_bytesDone >> 20),
                                   int(m_totalBytes >> 20)));
}

void CPlaylistExImportDlg::BeginCompress()
{
    m_compressDots = 0;
    m_status->setText(LoadString(kTextCompressing));
    if (!m_compressTimer)
        m_compressTimer = startTimer(kCompressTimerMs);
}

void CPlaylistExImportDlg::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_compressTimer)
        return QDialog::timerEvent(event);
    m_compressDots = (m_compressDots + 1) % 4;
    m_status->setText(LoadString(kTextCompressing) + QString(m_compressDots, QLatin1Char('.')));
}

void CPlaylistExImportDlg::stopCompressTimer()
{
    if (m_compressTimer)
        killTimer(m_compressTimer);
    m_compressTimer = 0;
}

void CPlaylistExImportDlg::endRun(quint32 result, bool done, quint32 nothingText)
{
    stopCompressTimer();
    if (done) {
        m_progress->setValue(100);
        m_currentFile->clear();
        m_percent->clear();
        const quint32 replaced = m_import ? m_host->GetImportReplacedCount() : 0;
        m_status->setText(replaced ? FormatString(kTextDoneReplaced, int(replaced)) : LoadString(kTextDone));
    } else {
        m_progress->setValue(0);
        m_percent->clear();
        quint32 text = kTextError;
        if (m_host->IsExImportStopped())
            text = kTextStopped;
        else if (nothingText && result == (m_import ? quint32(IMPORT_NOTHING) : quint32(EXPORT_NOTHING)))
            text = nothingText;
        else if (!m_import && result == EXPORT_TOO_LARGE)
            text = kTextTooLarge;
        else if (m_import && result == IMPORT_DECLINED)
            text = kTextReplaceDeclined;
        m_status->setText(LoadString(text));
    }
    m_running = false;
    showRunState();
}

void CPlaylistExImportDlg::EndExport(quint32 result)
{
    endRun(result, result == EXPORT_DONE, kTextNothingUpdated);
    if (result == EXPORT_SAVE_FAILED)
        m_keepPackage = true;
    else
        m_keepPackage = false;
    if (result == EXPORT_MISSING)
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgContentMissing,
                          FormatContentIdFixed(m_host->GetExImportMissingNumber()));
    const QStringList leftOut = m_host->GetExportLeftOutFiles();
    if (result == EXPORT_DONE && !leftOut.isEmpty())
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgFilesLeftOut,
                          leftOut.join(QLatin1Char('\n')));
}

void CPlaylistExImportDlg::EndImport(quint32 result)
{
    const bool stopped = m_host->IsExImportStopped();
    endRun(result, result == IMPORT_DONE, kTextNothingUpdated);
    if (result == IMPORT_NOT_PACKAGE && !stopped)
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgNotPackage, m_fileName->text());
    // A run that a stop or a failure cut short names the items that went in
    // before it; the item it was on and those after it are as they were.
    QStringList imported;
    for (const ImportedItem &item : m_host->GetImportedItems())
        imported << ItemText(item.number, item.type, item.title);
    if (result == IMPORT_FAILED && !imported.isEmpty())
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONWARNING, kMsgImportCutShort, ListedItems(imported));
}

QString CPlaylistExImportDlg::GetStatusText() const
{
    return m_status->text();
}

QString CPlaylistExImportDlg::GetPercentText() const
{
    return m_percent->text();
}

QString CPlaylistExImportDlg::GetCurrentFileText() const
{
    return m_currentFile->text();
}
