#pragma once
// "プロパティ": the category and title of a content and, when one is given,
// its play time. The title may be required (the default) and may be locked
// (then neither the title nor the play time can be edited).

#include "core/win_types.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QTimeEdit;

class CPropertySetDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2016;
    enum : int {
        IDC_CATEGORY = 1135,
        IDC_TITLE = 1154,
        IDC_PLAY_TIME_LABEL = 1330,
        IDC_PLAY_TIME = 1331,
    };

    explicit CPropertySetDlg(QWidget *parent = nullptr);

    void SetCategory(const QString &category) { m_category = category; }
    void SetTitle(const QString &title) { m_title = title; }
    // Sets the play time and shows its field.
    void SetPlayTime(quint16 hours, quint16 minutes, quint16 seconds);
    void SetTitleRequired(bool required) { m_titleRequired = required; }
    void SetTitleLocked(bool locked) { m_titleLocked = locked; }
    QString GetCategory() const { return m_category; }
    QString GetTitle() const { return m_title; }
    void GetPlayTime(quint16 &hours, quint16 &minutes, quint16 &seconds) const;

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_categoryEdit;
    QLineEdit *m_titleEdit;
    QLabel *m_playTimeLabel;
    QTimeEdit *m_playTimeEdit;
    QString m_category;
    QString m_title;
    PlayLength m_playTime;
    bool m_playTimeGiven = false;
    bool m_titleRequired = true;
    bool m_titleLocked = false;
};
