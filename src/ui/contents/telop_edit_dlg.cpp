#include "ui/contents/telop_edit_dlg.h"

#include "widgets/color_dialog.h"
#include "widgets/dialog_units.h"
#include "widgets/file_dialog_prompter.h"
#include "app/telv_tool_bar_ctrl.h"
#include "app/window_placement.h"
#include "core/app_ini.h"
#include "core/data_folders.h"
#include "core/last_error.h"
#include "core/message_box.h"
#include "core/path_utils.h"
#include "core/string_table.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "ops/telop_files.h"
#include "ops/telop_font.h"
#include "ui/contents/content_dialog_messages.h"
#include "ui/contents/save_number_choice.h"
#include "ui/contents/telop_detail_dlg.h"
#include "ui/contents/telop_edit_ctrl.h"
#include "ui/contents/telop_view_dlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr quint32 kMsgEmptyFile = 5219;
constexpr quint32 kMsgTelopUnreadable = 7100;
constexpr quint32 kMsgTelopTooLong = 7101;
constexpr quint32 kMsgTextEncodingUnknown = 7103;
constexpr quint32 kStrReadTextTitle = 5520;
constexpr quint32 kStrTextFilter = 5884;
constexpr int kSeparatorId = 1224;
constexpr int kCountLabelId = 6433;
constexpr ToolBarButton button(int command)
{
    return {command, TBSTATE_ENABLED, BTNS_BUTTON, {0, 0}, -1, -1, -1};
}
constexpr ToolBarButton kSeparatorButton = {-1, 0, 0, {0, 0}, -1, -1, -1};
constexpr ToolBarButton kToolButtons[] = {
    button(CTelopEditDlg::ID_PROPERTY),     button(CTelopEditDlg::ID_READ_TEXT),  kSeparatorButton,
    button(CTelopEditDlg::ID_BACK_COLOR),   button(CTelopEditDlg::ID_TEXT_COLOR), kSeparatorButton,
    button(CTelopEditDlg::ID_STYLE_NORMAL), button(CTelopEditDlg::ID_STYLE_BOLD), button(CTelopEditDlg::ID_STYLE_ITALIC),
    button(CTelopEditDlg::ID_STYLE_UNDERLINE)};

// "Text files (*.txt)|*.txt|" as a dialog filter.
QString dialogFilter(const QString &stored)
{
    return stored.section(u'|', 0, 0);
}

} // namespace

CTelopEditDlg::CTelopEditDlg(QWidget *parent)
    : CTelvPaneDlg(kTemplateId, parent)
{
    setWindowTitle(QStringLiteral("テロップ編集"));
}

CTelopEditDlg::~CTelopEditDlg()
{
    if (IsCreated())
        GetAppIni().SetWindowRect(kWindowNumber, ToWinRect(geometry()));
}

int CTelopEditDlg::DoModal(QWidget *owner)
{
    if (!Create(owner))
        return IDCANCEL;
    setWindowModality(Qt::ApplicationModal);
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CTelopEditDlg::createControls()
{
    const QFont dialogFont = font();
    auto place = [&](QWidget *widget, int id, const QRect &units) {
        if (id >= 0)
            widget->setObjectName(QString::number(id));
        widget->setGeometry(DialogUnitsToPixels(dialogFont, units));
    };
    place(new QWidget(this), kToolBarPlaceholderId, QRect(0, 0, 206, 16));
    auto *separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    place(separator, kSeparatorId, QRect(0, 17, 206, 2));
    place(new QLabel(QStringLiteral("フォント："), this), -1, QRect(7, 23, 50, 8));
    m_fontList = new QComboBox(this);
    place(m_fontList, kFontListId, QRect(58, 21, 110, 12));
    place(new QLabel(QStringLiteral("現在の文字色："), this), -1, QRect(7, 35, 50, 8));
    m_swatch = new QLabel(QStringLiteral("A"), this);
    m_swatch->setAlignment(Qt::AlignCenter);
    m_swatch->setAutoFillBackground(true);
    m_swatch->setFrameShape(QFrame::Box);
    QFont letter(QStringLiteral("Times New Roman"));
    letter.setBold(true);
    letter.setPixelSize(20);
    m_swatch->setFont(letter);
    place(m_swatch, kSwatchId, QRect(58, 33, 20, 11));
    m_edit = new CTelopEditCtrl(true, this);
    place(m_edit, CTelopEditCtrl::kControlId, QRect(7, 46, 193, 69));
    place(new QLabel(QStringLiteral("総文字数："), this), kCountLabelId, QRect(7, 124, 36, 8));
    m_count = new QLabel(this);
    place(m_count, kCountId, QRect(44, 124, 30, 8));
    auto *confirm = new QPushButton(QStringLiteral("確認"), this);
    place(confirm, kConfirmId, QRect(96, 122, 50, 14));
    auto *cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    place(cancel, IDCANCEL, QRect(150, 122, 50, 14));
    for (QPushButton *push : {confirm, cancel})
        push->setAutoDefault(false);
    resize(DialogUnitsToPixels(dialogFont, QSize(206, 143)));

    connect(confirm, &QPushButton::clicked, this, &CTelopEditDlg::OnConfirm);
    connect(cancel, &QPushButton::clicked, this, &CTelopEditDlg::OnCancel);
    connect(m_fontList, &QComboBox::activated, this, [this] {
        ApplyFont();
        setModified();
    });
    connect(m_edit, &CTelopEditCtrl::Modified, this, [this] {
        updateCount();
        setModified();
    });
    connect(m_edit, &CTelopEditCtrl::Changed, this, &CTelopEditDlg::updateSwatch, Qt::QueuedConnection);
}

void CTelopEditDlg::addAnchors()
{
    CAnchorLayout &anchors = GetAnchorLayout();
    anchors.AddControl(this, kToolBarPlaceholderId, ANCHOR_RIGHT);
    anchors.AddControl(this, kSeparatorId, ANCHOR_RIGHT);
    anchors.AddControl(this, CTelopEditCtrl::kControlId, ANCHOR_RIGHT | ANCHOR_BOTTOM);
    for (int id : {kCountLabelId, kCountId})
        anchors.AddControl(this, id, ANCHOR_BOTTOM | ANCHOR_KEEP_WIDTH | ANCHOR_KEEP_HEIGHT);
    for (int id : {kConfirmId, int(IDCANCEL)})
        anchors.AddControl(this, id, ANCHOR_RIGHT | ANCHOR_BOTTOM | ANCHOR_KEEP_WIDTH | ANCHOR_KEEP_HEIGHT);
}

bool CTelopEditDlg::OnInitDialog()
{
    createControls();
    addAnchors();
    m_edit->SetLimitText(kEditLimit);
    m_edit->SetTransparentColor(GetSystemIni().Settings().ColorTransparent);
    // The buttons show their names: the window is made wide enough for them.
    if (CreateToolBar(kToolButtons, int(std::size(kToolButtons)), true))
        resize(qMax(width(), GetToolBar()->width()), height());
    setMinimumSize(size());
    FillFontList();

    if (m_property.GetEffectType() == 0)
        m_property.SetEffectType(CTelopProperty::EFFECT_STEADY);
    if (m_property.GetIndex() < 1)
        applyNewTelopDefaults();
    else if (!loadStoredTelop())
        return false;

    ApplyFont();
    m_edit->ClearUndo();
    followEffectType();
    updateCount();
    updateSwatch();
    m_edit->setFocus();
    WinRect stored;
    if (GetAppIni().GetWindowRect(kWindowNumber, stored) && !stored.isEmpty() && IsWindowRectVisible(stored))
        setGeometry(FitOnScreen(ToQRect(stored)));
    m_modified = false;
    return true;
}

void CTelopEditDlg::applyNewTelopDefaults()
{
    CAppIni &ini = GetAppIni();
    const TelopSettings last = ini.GetTelopSettings();
    m_property.SetEffectType(last.LastEffect == 0   ? CTelopProperty::EFFECT_STEADY
                             : last.LastEffect == 1 ? CTelopProperty::EFFECT_BLINK
                                                    : CTelopProperty::EFFECT_SCROLL);
    m_property.SetSpeed(GetSystemIni().GetTextSpeed(last.LastSpeed));
    ColorRef back = m_edit->GetBackColor();
    ini.GetTelopColor(0, back);
    if (!last.LastTransparent) {
        m_edit->SetBackColor(back);
        m_property.SetColor(1, back);
    } else {
        m_edit->SetBackColor(m_edit->GetTransparentColor());
        m_property.SetColor(0, back);
    }
    ColorRef text = m_edit->GetTextColor();
    ini.GetTelopColor(1, text);
    m_edit->SetTextColor(text);
    if (ini.GetTelopColorCount() == 16) {
        for (int i = 2; i < 16; ++i) {
            ColorRef color = 0;
            if (ini.GetTelopColor(i, color))
                m_edit->SetPaletteColor(i, color);
        }
    }
    // The last face stays only while it is installed; else the default does.
    selectFace(InstalledTelopFamily(last.LastFont));
    m_property.SetHeight(last.LastFontSize);
    m_property.SetLineHeight(last.LastFontSize);
}

// A telop whose text file cannot be read is not opened: an empty editor
// would overwrite the stored text when saved.
bool CTelopEditDlg::loadStoredTelop()
{
    QString path;
    QString records;
    if (!MakeTelopFilePath(TextFolderOf(GetAppData().GetDataRoot()), m_property.GetIndex(), TELOP_FILE_TEXT, path)
        || !ReadTelopTextFile(path, records) || !m_edit->SetTextData(records)) {
        ShowMessage(this, kMsgTelopUnreadable, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    m_edit->SetBackColor(m_edit->GetBackColor());
    m_edit->SetTextColor(m_edit->GetTextColor());
    quint8 flag = 0;
    ColorRef color = 0;
    m_property.GetColor(flag, color);
    if (m_edit->GetBackColor() != m_edit->GetTransparentColor())
        m_property.SetColor(1, m_edit->GetBackColor());
    else
        m_property.SetColor(0, color);
    QString face;
    int size = 0;
    m_edit->GetFont(face, size);
    const QString installed = InstalledTelopFamily(face);
    selectFace(installed.isEmpty() ? TelopFamilyName(face) : installed);
    m_property.SetWidth(m_edit->GetTotalWidth());
    m_property.SetHeight(size);
    m_property.SetLineHeight(size);
    // A longer text than the editor takes is kept whole, never cut.
    if (m_edit->GetTextDoc().GetCellCount() > kEditLimit)
        ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONEXCLAMATION, kMsgTelopTooLong, kEditLimit);
    return true;
}

// A face the list lacks (not installed here) is added, so that the telop
// keeps it.
void CTelopEditDlg::selectFace(const QString &face)
{
    if (face.isEmpty())
        return;
    int index = m_fontList->findText(face);
    if (index < 0) {
        m_fontList->addItem(face);
        index = m_fontList->count() - 1;
    }
    m_fontList->setCurrentIndex(index);
}

void CTelopEditDlg::FillFontList()
{
    m_fontList->clear();
    m_fontList->addItems(TelopFamilies(GetSystemIni().Settings().FontFilter));
    m_fontList->setCurrentIndex(std::max(m_fontList->findText(DefaultTelopFamily()), 0));
}

void CTelopEditDlg::ApplyFont()
{
    const QScreen *screen = this->screen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    const int pixels = qMax(1, qRound(GetAppIni().GetEditFontSize() * dpi / 72.0));
    m_edit->SetFont(m_fontList->currentText(), pixels);
}

void CTelopEditDlg::followEffectType()
{
    m_edit->SetWantReturn(m_property.GetEffectType() == CTelopProperty::EFFECT_SCROLL);
}

void CTelopEditDlg::updateCount()
{
    m_count->setText(QString::number(m_edit->GetText().size()));
}

void CTelopEditDlg::updateSwatch()
{
    QPalette colors = m_swatch->palette();
    colors.setColor(QPalette::Window, ToQColor(m_edit->GetBackColor()));
    colors.setColor(QPalette::WindowText, ToQColor(m_edit->GetCurrentColor()));
    m_swatch->setPalette(colors);
}

void CTelopEditDlg::OnUpdateCommand(CCmdUI &cmdUi)
{
    if (cmdUi.id >= ID_PROPERTY && cmdUi.id <= ID_STYLE_UNDERLINE)
        cmdUi.Enable(true);
    else
        CTelvPaneDlg::OnUpdateCommand(cmdUi);
}

bool CTelopEditDlg::OnCommand(int commandId)
{
    switch (commandId) {
    case ID_PROPERTY:
        OnPropertyCommand();
        return true;
    case ID_READ_TEXT:
        OnReadTextFile();
        return true;
    case ID_BACK_COLOR:
        OnBackColor();
        return true;
    case ID_TEXT_COLOR:
        m_edit->OnTextColor();
        return true;
    case ID_STYLE_NORMAL:
        m_edit->ChangeStyle(0, false);
        return true;
    case ID_STYLE_BOLD:
        m_edit->ChangeStyle(1, false);
        return true;
    case ID_STYLE_ITALIC:
        m_edit->ChangeStyle(2, false);
        return true;
    case ID_STYLE_UNDERLINE:
        m_edit->ChangeStyle(4, false);
        return true;
    default:
        return CTelvPaneDlg::OnCommand(commandId);
    }
}

void CTelopEditDlg::OnPropertyCommand()
{
    CTelopDetailDlg dialog(this);
    dialog.SetProperty(m_property);
    if (dialog.DoModal() != IDOK)
        return;
    dialog.GetProperty(m_property);
    followEffectType();
    setModified();
}

void CTelopEditDlg::OnBackColor()
{
    ColorRef chosen = m_edit->GetBackColor();
    if (!PromptColor(this, m_edit->GetBackColor(), chosen))
        return;
    m_property.SetColor(1, chosen);
    m_edit->SetBackColor(chosen);
    followEffectType();
    updateSwatch();
    setModified();
}

void CTelopEditDlg::OnReadTextFile()
{
    if (!MayDiscardEdits(this, m_modified))
        return;
    FileDialogRequest request;
    request.title = LoadString(kStrReadTextTitle);
    request.filter = dialogFilter(LoadString(kStrTextFilter));
    request.defaultExt = QStringLiteral("txt");
    GetAppIni().GetLastTextFolder(request.folder);
    const QString path = PromptOpenFileName(this, request);
    if (path.isEmpty())
        return;
    QString text;
    if (!ReadImportTextFile(path, text)) {
        // Bytes of no known encoding would fill the editor with garbage.
        if (GetLastError() == ERROR_INVALID_DATA)
            ShowMessage(this, kMsgTextEncodingUnknown, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (text.isEmpty()) {
        ShowMessage(this, kMsgEmptyFile, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!m_edit->SetPlainText(text))
        return;
    m_edit->ClearUndo();
    setModified();
    GetAppIni().SetLastTextFolder(QFileInfo(path).absolutePath());
}

void CTelopEditDlg::OnConfirm()
{
    if (m_edit->GetTextDoc().GetCellCount() == 0) {
        ShowMessage(this, kMsgEmptyItem, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
        m_edit->setFocus();
        return;
    }
    QString records;
    m_edit->GetTextData(records);
    auto *preview = new CTelopViewDlg(this);
    preview->SetTextData(records);
    preview->SetFont(m_fontList->currentText(), m_property.GetLineHeight(), true);
    preview->SetNewNumber(m_newNumber);
    preview->SetProperty(&m_property);
    preview->SetFileStage(m_stage);
    connect(preview, &CTelopViewDlg::Ended, this, &CTelopEditDlg::OnPreviewEnded, Qt::QueuedConnection);
    m_preview = preview;
    preview->show();
}

void CTelopEditDlg::OnPreviewEnded(int result)
{
    if (m_preview) {
        m_preview->deleteLater();
        m_preview = nullptr;
    }
    if (result == CTelopViewDlg::RESULT_SAVED) {
        saveLastSettings();
        done(QDialog::Accepted);
    } else if (result == CTelopViewDlg::RESULT_DISCARDED) {
        done(QDialog::Rejected);
    }
}

void CTelopEditDlg::saveLastSettings()
{
    CAppIni &ini = GetAppIni();
    TelopSettings last = ini.GetTelopSettings();
    last.LastEffect = m_property.GetEffectType() - 1;
    if (m_property.GetEffectType() == CTelopProperty::EFFECT_SCROLL) {
        const CSystemIni &system = GetSystemIni();
        last.LastSpeed = m_property.GetSpeed() == system.GetTextSpeed(0)   ? 0
                         : m_property.GetSpeed() == system.GetTextSpeed(2) ? 2
                                                                           : 1;
    }
    last.LastTransparent = m_edit->GetBackColor() == m_edit->GetTransparentColor();
    last.LastFont = m_fontList->currentText();
    last.LastFontSize = m_property.GetLineHeight();
    ini.SetTelopSettings(last);
    ini.ClearTelopColors();
    for (ColorRef color : m_edit->GetPalette())
        ini.AddTelopColor(color);
    ini.SaveTelopSettings();
}

void CTelopEditDlg::OnCancel()
{
    if (!MayDiscardEdits(this, m_modified))
        return;
    done(QDialog::Rejected);
}

void CTelopEditDlg::closeEvent(QCloseEvent *event)
{
    event->ignore();
    OnCancel();
}
