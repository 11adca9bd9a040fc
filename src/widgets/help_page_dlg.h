#pragma once
// A window of the program's own that shows a help page written as HTML (the
// error-code table), so reading it needs no web browser. The page's links
// stay inert: the page is read, not browsed.

#include <QDialog>

class QTextBrowser;

class CHelpPageDlg : public QDialog {
    Q_OBJECT
public:
    CHelpPageDlg(const QString &title, const QString &html, QWidget *parent);
    ~CHelpPageDlg() override;

    QTextBrowser *GetBrowser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};
