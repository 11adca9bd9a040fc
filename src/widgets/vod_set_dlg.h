#pragma once
// The settings of a touch-panel playlist ("Touch Panel Mode プレイリスト設定"):
// such playlists have the reserved numbers 999000001 to 999000009; the dialog
// edits the number's last digit, a category and a title. An existing
// playlist keeps its number (the index field is read-only).

#include <QDialog>

class QLineEdit;

class CVodSetDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2013;
    static constexpr int kIndexId = 1134;
    static constexpr int kCategoryId = 1135;
    static constexpr int kTitleId = 1154;
    static constexpr qint32 kIndexBase = 999000000;

    // number: -1 for a new touch-panel playlist, else its number.
    explicit CVodSetDlg(qint32 number = -1, QWidget *parent = nullptr);
    ~CVodSetDlg() override;

    void SetCategory(const QString &category);
    void SetTitle(const QString &title);

    qint32 GetContentNumber() const { return m_number; }
    const QString &GetCategory() const { return m_category; }
    const QString &GetTitle() const { return m_title; }

    QLineEdit *GetIndexEdit() const { return m_indexEdit; }
    QLineEdit *GetCategoryEdit() const { return m_categoryEdit; }
    QLineEdit *GetTitleEdit() const { return m_titleEdit; }

    // Reads and checks the fields, asking before control characters are
    // removed; on failure the field at fault has the focus.
    bool Validate();
    // Closes when valid and the playlist list can take the playlist.
    void accept() override;

private:
    bool refuseField(QLineEdit *field);
    bool mayStore();

    QLineEdit *m_indexEdit;
    QLineEdit *m_categoryEdit;
    QLineEdit *m_titleEdit;
    bool m_isNew;
    qint32 m_number;
    QString m_category = QStringLiteral("TPM");
    QString m_title = QStringLiteral("Menu");
};
