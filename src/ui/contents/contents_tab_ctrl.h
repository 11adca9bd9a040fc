#pragma once
// The content-type tabs of the contents pane. Each tab carries its page (a
// separator tab carries none and is left undrawn). In the editing modes 11
// to 13 each tab is filled with its type's colour, except the list that the
// mode edits, drawn on the button face in a bold font; elsewhere every tab is
// on the button face.

#include <QList>
#include <QTabBar>

class CContentsListDlg;

class CContentsTabCtrl : public QTabBar {
    Q_OBJECT
public:
    static constexpr int kControlId = 1323;

    explicit CContentsTabCtrl(QWidget *parent = nullptr);

    void SetMode(int mode) { m_mode = mode; }
    void RemoveAllTabs();
    // A tab with the caption and its page (null: a separator).
    int AddTab(const QString &caption, CContentsListDlg *page);
    CContentsListDlg *GetPage(int index) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    QSize tabSizeHint(int index) const override;

private:
    bool isEditedType(int type) const;

    int m_mode = 10;
    QList<CContentsListDlg *> m_pages;
};
