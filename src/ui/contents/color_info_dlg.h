#pragma once
// "背景色の説明の変更": the names of the eight calendar background colours,
// each beside its swatch. OK refuses empty names, offers to remove control
// characters, and writes the names to the system settings. The opener tells
// the panes that the legend changed.

#include "widgets/calendar_colors.h"

#include <QDialog>

#include <array>

class QLineEdit;

class CColorInfoDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2035;
    static constexpr int kFirstSwatchId = 1631;
    static constexpr int kFirstEditId = 1651;
    static constexpr int kNameLimit = 10;

    explicit CColorInfoDlg(QWidget *parent = nullptr);

    QLineEdit *GetNameEdit(int index) const;

    void accept() override;

private:
    // The first edit that fails a check; -1 when all pass.
    int firstEditWithControlChars() const;
    int firstEmptyEdit() const;
    void focusEdit(int index);

    std::array<QLineEdit *, CSystemIni::kCalendarColorCount> m_edits{};
};
