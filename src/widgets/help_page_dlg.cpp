#include "widgets/help_page_dlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// Wide enough for the table's three columns without a scroll bar in width.
constexpr int kWidthInCharacters = 90;
constexpr int kHeightInLines = 30;

} // namespace

CHelpPageDlg::CHelpPageDlg(const QString &title, const QString &html, QWidget *parent)
    : QDialog(parent), m_browser(new QTextBrowser(this))
{
    setWindowTitle(title);
    m_browser->setOpenLinks(false);
    m_browser->setHtml(html);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(buttons);
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * kWidthInCharacters, metrics.lineSpacing() * kHeightInLines);
}

CHelpPageDlg::~CHelpPageDlg() = default;
