#pragma once
// "割り込み再生": how long an interrupting playback runs (until stopped, or a
// given time) and, for a telop, its vertical position. The choices are
// remembered per content type in the per-user state.

#include "widgets/anchor_layout.h"
#include "widgets/play_position_prompter.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;

// What the caller and the dialog exchange as a whole.
struct PlaySettings {
    quint16 hours = 0; // the content's own play time; all zero when it has none
    quint16 minutes = 0;
    quint16 seconds = 0;
    qint32 playSeconds = -1; // result: 0 until stopped, else the given length
    qint32 maxPosition = 0;  // the largest telop position (the screen height)
    qint32 reserved1 = 0;    // left as the caller gave it
    qint32 telopPosition = 0; // result: vertical telop position in pixels
    qint32 reserved2 = 0;     // left as the caller gave it
    qint32 longPlay = 0;      // result: 1 when longer than the content's own time
};

class CPlayPositionDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2038;
    static constexpr int kTimeId = 1460;
    static constexpr int kUntilStoppedId = 1470;
    static constexpr int kGivenTimeId = 1480;
    static constexpr int kPositionComboId = 6520;
    static constexpr int kPositionEditId = 6521;
    static constexpr int kPositionRangeId = 6522;
    static constexpr int kPositionGroupId = 6523;
    static constexpr int kPlayButtonId = 1;
    static constexpr int kShortHeight = 165;
    static constexpr int kUserPosition = 3;

    CPlayPositionDlg(int contentType, QWidget *parent = nullptr);
    ~CPlayPositionDlg() override;

    void SetPlaySettings(const PlaySettings &settings) { m_settings = settings; }
    void GetPlaySettings(PlaySettings &settings) const { settings = m_settings; }

    // Takes the remembered choices; a content other than a telop loses the
    // position controls. Runs when the dialog is first shown.
    void OnInitDialog();
    // Checks and keeps the choices; a refused value keeps the dialog open.
    void accept() override;

    QRadioButton *GetUntilStoppedRadio() const { return m_untilStopped; }
    QRadioButton *GetGivenTimeRadio() const { return m_givenTime; }
    QTimeEdit *GetTimeEdit() const { return m_time; }
    QComboBox *GetPositionCombo() const { return m_positionCombo; }
    QLineEdit *GetPositionEdit() const { return m_positionEdit; }
    QLabel *GetPositionRange() const { return m_positionRange; }
    QGroupBox *GetPositionGroup() const { return m_positionGroup; }

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool isTelop() const { return m_contentType == 3; }
    int ownSeconds() const;
    void updatePosition();
    bool readPosition();

    int m_contentType;
    PlaySettings m_settings;
    int m_userPosition = 0;
    bool m_initialised = false;
    CAnchorLayout m_anchors;

    QRadioButton *m_untilStopped;
    QRadioButton *m_givenTime;
    QTimeEdit *m_time;
    QGroupBox *m_positionGroup;
    QComboBox *m_positionCombo;
    QLineEdit *m_positionEdit;
    QLabel *m_positionRange;
    QPushButton *m_play;
};

// The frame's interrupt-playback choice through this dialog.
class CPlayPositionPrompter final : public IPlayPositionPrompter {
public:
    bool PromptPlayPosition(QWidget *owner, InterruptPlayChoice &choice) override;
    // The one prompter of the program.
    static CPlayPositionPrompter &Instance();
};
