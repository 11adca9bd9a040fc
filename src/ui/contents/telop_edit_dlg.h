#pragma once
// "テロップ編集": the window in which the operator writes a telop: the text
// with per-character style and colour, the font face, the background and
// text colours and the telop's properties. "確認" opens the preview, which
// renders, checks and stages the telop; the editor then ends with IDOK.
// Run modally for a new telop (number 0) or a stored one.

#include "app/telv_pane_dlg.h"
#include "model/telop_property.h"
#include "ui/contents/telop_view_dlg.h"

#include <QPointer>

class CTelopEditCtrl;
class CTelopFileStage;
class QComboBox;
class QLabel;

class CTelopEditDlg : public CTelvPaneDlg {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2030;
    static constexpr int kConfirmId = 1029;
    static constexpr int kFontListId = 1080;
    static constexpr int kCountId = 6432;
    static constexpr int kSwatchId = 1310;
    static constexpr int kWindowNumber = 80;
    static constexpr int kEditLimit = 1024;
    enum Command : int {
        ID_PROPERTY = 6218,
        ID_READ_TEXT = 6219,
        ID_BACK_COLOR = 6220,
        ID_TEXT_COLOR = 6221,
        ID_STYLE_NORMAL = 6222,
        ID_STYLE_BOLD = 6223,
        ID_STYLE_ITALIC = 6224,
        ID_STYLE_UNDERLINE = 6225,
    };

    explicit CTelopEditDlg(QWidget *parent = nullptr);
    ~CTelopEditDlg() override;

    void SetProperty(const CTelopProperty &record) { m_property.Copy(&record); }
    void GetProperty(CTelopProperty &record) const { record.Copy(&m_property); }
    const CTelopProperty &Property() const { return m_property; }
    void SetNewNumber(qint32 number) { m_newNumber = number; }
    void SetFileStage(CTelopFileStage *stage) { m_stage = stage; }

    // Creates the window on owner and runs it; IDCANCEL at once when a stored
    // telop cannot be read.
    int DoModal(QWidget *owner);

    CTelopEditCtrl *GetEditCtrl() const { return m_edit; }
    QComboBox *GetFontList() const { return m_fontList; }
    CTelopViewDlg *GetPreview() const { return m_preview; }
    bool IsModified() const { return m_modified; }

    void OnConfirm();
    void ApplyFont();
    void FillFontList();
    void OnReadTextFile();
    void OnPropertyCommand();
    void OnBackColor();
    void OnPreviewEnded(int result);
    // Cancel and closing: asks first when anything was changed.
    void OnCancel() override;

    bool OnCommand(int commandId) override;
    void OnUpdateCommand(CCmdUI &cmdUi) override;

protected:
    bool OnInitDialog() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void addAnchors();
    void applyNewTelopDefaults();
    bool loadStoredTelop();
    void selectFace(const QString &face);
    void followEffectType();
    void updateCount();
    void updateSwatch();
    void saveLastSettings();
    void setModified() { m_modified = true; }

    QComboBox *m_fontList = nullptr;
    CTelopEditCtrl *m_edit = nullptr;
    QLabel *m_count = nullptr;
    QLabel *m_swatch = nullptr;
    CTelopProperty m_property;
    qint32 m_newNumber = 0;
    CTelopFileStage *m_stage = nullptr;
    bool m_modified = false;
    QPointer<CTelopViewDlg> m_preview;
};
