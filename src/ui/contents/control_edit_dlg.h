#pragma once
// "制御編集" (dialog 2005): creates and edits a control content, a command a
// player sends to an attached device: a display or COM control (bytes sent
// over a serial port, with an optional expected response) or a volume
// control. Display and COM bytes can be sent once to the preview player
// ("COMC 実行") on a worker thread, with what came back shown.
//
// A stored control of another kind (type 3) keeps its kind and parameters:
// only its category and title can be edited.

#include "model/control_property.h"
#include "ops/control_data.h"
#include "ops/control_test_send.h"

#include <QDialog>

#include <memory>

class CFrameWorker;
class CProcessDlg;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CControlEditDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2005;
    static constexpr int IDC_CATEGORY = 1119;
    static constexpr int IDC_TITLE = 1120;
    static constexpr int IDC_TYPE = 1079;
    static constexpr int IDC_VOLUME_KIND = 1077;
    static constexpr int IDC_SEND = 1121;
    static constexpr int IDC_RESPONSE = 1122;
    static constexpr int IDC_VOLUME = 1123;
    static constexpr int IDC_RECEIVED = 1124;
    static constexpr int IDC_TEST_TARGET = 6610;
    static constexpr int IDC_TEST = 6611;
    static constexpr int kMaxHexText = 256;

    explicit CControlEditDlg(QWidget *parent = nullptr);
    ~CControlEditDlg() override;

    // Copies the record in and fills the fields from it.
    void SetControlProperty(const CControlProperty &record);
    // The number a new or copied record receives on OK.
    void SetNewIndex(qint32 index) { m_newIndex = index; }
    void GetControlProperty(CControlProperty &record) const;
    bool IsModified() const { return m_modified; }

    // The fields as CheckControlData sees them.
    ControlFields GetFields() const;
    int CheckControlData() const;
    // Stores the fields into the record; asks before removing control
    // characters from category and title when asked to. False when the
    // operator keeps the dialog open.
    bool UpdateControlProperty(bool askControlChars);

    // Button 6611: the test send of the send data to the chosen target.
    void OnTest();
    bool IsTestRunning() const { return m_worker != nullptr; }

    void accept() override;
    void reject() override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *addEdit(int id, int maxLength);
    qint32 selectedType() const;
    bool isHexType() const;
    bool controlsEnabled() const;
    void showFieldsOfType();
    void showVolumeEdit();
    void fillTestTargets();
    bool refuseData(int check);
    bool finishWithNumber();
    void onTestEnd(bool success, quint32 detail);

    QLineEdit *m_category;
    QLineEdit *m_title;
    QComboBox *m_type;
    QComboBox *m_volumeKind;
    QLabel *m_sendLabel;
    QLineEdit *m_send;
    QLabel *m_responseLabel;
    QLineEdit *m_response;
    QLineEdit *m_volume;
    QLabel *m_volumeUnit;
    QLabel *m_receivedLabel;
    QLineEdit *m_received;
    QComboBox *m_testTarget;
    QPushButton *m_test;

    CControlProperty m_record;
    qint32 m_newIndex = 0;
    qint32 m_shownType = 0;
    bool m_modified = false;
    std::unique_ptr<CProcessDlg> m_process;
    // What the worker found; read only after it is joined.
    ControlTestOutcome m_outcome;
    // Declared last: joined before anything it uses goes.
    std::unique_ptr<CFrameWorker> m_worker;
};
