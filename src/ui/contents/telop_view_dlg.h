#pragma once
// "テロップ確認": the telop as the players will show it, one line at the
// chosen pixel height, scrollable sideways, the part past the width limit
// inverted. OK checks the width, settles the content number, renders the
// bitmap and stages the telop's two files. It is opened by the telop editor,
// which it answers with Ended: 1 saved, 2 discarded, 3 back to editing.

#include <QDialog>
#include <QList>

class CTelopEditCtrl;
class CTelopFileStage;
class CTelopProperty;
class QComboBox;
class QLineEdit;
class QPushButton;

class CTelopViewDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2056;
    static constexpr int kSizeListId = 6437;
    static constexpr int kPixelEditId = 6431;
    static constexpr int kApplyId = 6434;
    static constexpr int kWindowNumber = 83;
    static constexpr int kMinSize = 16;
    static constexpr int kMaxSize = 150;
    enum Result : int { RESULT_SAVED = 1, RESULT_DISCARDED = 2, RESULT_BACK = 3 };

    explicit CTelopViewDlg(QWidget *parent);
    ~CTelopViewDlg() override;

    // The records of the telop, shown as one line (line breaks as blanks).
    int SetTextData(const QString &records);
    // The face and the size; select picks the size entry of that size.
    void SetFont(const QString &face, int size, bool select);
    void SetNewNumber(qint32 number) { m_newNumber = number; }
    // The editor's record, which OK fills in.
    void SetProperty(CTelopProperty *property) { m_property = property; }
    // Where OK stages the telop's files.
    void SetFileStage(CTelopFileStage *stage) { m_stage = stage; }

    CTelopEditCtrl *GetPreview() const { return m_preview; }
    int GetCustomSize() const { return m_customSize; }

    void UpdateSizeEdit();
    bool ApplySize(bool fromEdit);
    void OnSelectSize();
    void OnOK();
    bool SaveTelopData();

signals:
    void Ended(int result);

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void fillSizeList();
    void fitWidthToText();
    void finish(int result);
    bool settleNumber();

    QComboBox *m_sizeList;
    QLineEdit *m_pixelEdit;
    QPushButton *m_apply;
    CTelopEditCtrl *m_preview;
    QList<int> m_breaks;
    int m_customSize = 0;
    int m_selectedSize = -1;
    qint32 m_newNumber = 0;
    CTelopProperty *m_property = nullptr;
    CTelopFileStage *m_stage = nullptr;
    bool m_ended = false;
};
