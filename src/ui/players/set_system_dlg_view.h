#pragma once
// The system settings page (view 1525): timed delivery and its start time,
// resending after errors and its interval, and the log (folder, level, days
// kept) of the system settings file. Numbers are held to their ranges by
// their fields; a log folder that cannot be written is refused (5231). The
// log settings take effect when the log is next opened, at the next start.

#include "ui/players/settings_page_dlg_view.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QTimeEdit;

class CSetSystemDlgView : public CSettingsPageDlgView {
    Q_OBJECT
public:
    // Controls of the page, by their ids.
    static constexpr int kAutoSendId = 1501;
    static constexpr int kAutoSendTimeId = 1502;
    static constexpr int kRetryId = 1503;
    static constexpr int kRetryIntervalId = 1504;
    static constexpr int kLogFolderId = 1505;
    static constexpr int kLogLevelId = 1506;
    static constexpr int kLogKeepDayId = 1507;

    static constexpr int kMaxRetryInterval = 86400; // seconds
    static constexpr int kMaxLogKeepDays = 3650;

    CSetSystemDlgView();
    void LoadSettings() override;

protected:
    bool OnInitDialog() override;
    bool SaveSettings() override;

private:
    QCheckBox *m_autoSend = nullptr;
    QTimeEdit *m_autoSendTime = nullptr;
    QCheckBox *m_retry = nullptr;
    QSpinBox *m_retryInterval = nullptr;
    QLineEdit *m_logFolder = nullptr;
    QComboBox *m_logLevel = nullptr;
    QSpinBox *m_logKeepDay = nullptr;
};
