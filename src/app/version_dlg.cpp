#include "app/version_dlg.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

const char *const kCaption = "バージョン情報";
const char *const kProductLine = "KDP-R40 マネジメントソフトウェア (TELV-Q9)";
const char *const kVersionLabel = "Version :";
constexpr int kIconSize = 32;

} // namespace

CVersionDlg::CVersionDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QString::fromUtf8(kCaption));
    auto *grid = new QGridLayout(this);
    auto *icon = new QLabel(this);
    const QIcon appIcon = windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon) : windowIcon();
    icon->setPixmap(appIcon.pixmap(kIconSize, kIconSize));
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(new QLabel(QString::fromUtf8(kProductLine), this), 0, 1, 1, 2);
    grid->addWidget(new QLabel(QString::fromUtf8(kVersionLabel), this), 1, 1);
    m_version = new QLabel(QCoreApplication::applicationVersion(), this);
    m_version->setObjectName(QString::number(kVersionId));
    grid->addWidget(m_version, 1, 2);
    grid->setColumnStretch(2, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    grid->addWidget(buttons, 2, 0, 1, 3);
}

CVersionDlg::~CVersionDlg() = default;
