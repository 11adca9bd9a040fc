#pragma once
// What an operator would find cut short in a window: a label, button, field,
// choice or column whose text is wider than the room its widget gives it.
// Used by the layout tests, which also grab each window into
// TELV_SCREENSHOT_DIR when the variable names a folder.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>
#include <string>

namespace TextFit {

// Room Qt's styles keep around a cell's and a heading's text.
constexpr int kCellMargins = 6;
constexpr int kHeadingMargins = 8;
constexpr int kSortMarkRoom = 16;
constexpr int kRowsLooked = 50;
// The blank a line edit keeps on each side of its text.
constexpr int kEditTextMargin = 2;

inline QString Describe(const QWidget *widget, const QString &text, int need, int room)
{
    return QStringLiteral("%1 %2 \"%3\": %4 > %5")
        .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(), text)
        .arg(need)
        .arg(room);
}

inline int WidestLine(const QFontMetrics &metrics, const QString &text)
{
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

inline void CheckLabels(const QWidget *root, QStringList &clipped)
{
    for (const QLabel *label : root->findChildren<QLabel *>()) {
        if (!label->isVisibleTo(root) || label->wordWrap() || label->text().isEmpty()
            || Qt::mightBeRichText(label->text()))
            continue;
        const int need = WidestLine(label->fontMetrics(), label->text());
        if (need > label->contentsRect().width())
            clipped << Describe(label, label->text(), need, label->contentsRect().width());
    }
}

inline void CheckButtons(const QWidget *root, QStringList &clipped)
{
    for (const QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        if (!button->isVisibleTo(root) || button->text().isEmpty() || qobject_cast<const QToolButton *>(button))
            continue;
        if (button->sizeHint().width() > button->width())
            clipped << Describe(button, button->text(), button->sizeHint().width(), button->width());
    }
}

// Every field's whole text in view: a line edit's (also the one inside a
// date, time or number field) and a choice's current item.
inline void CheckFields(const QWidget *root, QStringList &clipped)
{
    for (const QLineEdit *edit : root->findChildren<QLineEdit *>()) {
        if (!edit->isVisibleTo(root) || edit->text().isEmpty() || edit->echoMode() != QLineEdit::Normal)
            continue;
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
        const QMargins text = edit->textMargins();
        const int room = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).width()
                         - text.left() - text.right() - 2 * kEditTextMargin;
        const int need = edit->fontMetrics().horizontalAdvance(edit->text());
        if (need > room)
            clipped << Describe(edit, edit->text(), need, room);
    }
    for (const QComboBox *combo : root->findChildren<QComboBox *>()) {
        // A name cut short on purpose is whole in the tooltip.
        if (!combo->isVisibleTo(root) || combo->isEditable() || combo->currentText().isEmpty()
            || combo->toolTip() == combo->currentText())
            continue;
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = false;
        option.frame = combo->hasFrame();
        const QSize textSize(combo->fontMetrics().horizontalAdvance(combo->currentText()), combo->fontMetrics().height());
        const int need = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, textSize, combo).width();
        if (need > combo->width())
            clipped << Describe(combo, combo->currentText(), need, combo->width());
    }
}

inline void CheckColumns(const QAbstractItemView *view, QStringList &clipped)
{
    const auto *tree = qobject_cast<const QTreeView *>(view);
    const auto *table = qobject_cast<const QTableView *>(view);
    const QHeaderView *header = tree ? tree->header() : table ? table->horizontalHeader() : nullptr;
    const QAbstractItemModel *model = view->model();
    if (!header || !model || header->isHidden())
        return;
    const QModelIndex parent = view->rootIndex();
    for (int section = 0; section < header->count(); ++section) {
        const int room = header->sectionSize(section);
        if (header->isSectionHidden(section) || room == 0)
            continue;
        const QString heading = model->headerData(section, Qt::Horizontal).toString();
        int need = header->fontMetrics().horizontalAdvance(heading) + kHeadingMargins;
        if (header->isSortIndicatorShown() && header->sortIndicatorSection() == section)
            need += kSortMarkRoom;
        if (need > room)
            clipped << Describe(header, heading, need, room);
        const int indent = tree && tree->rootIsDecorated() && header->visualIndex(section) == 0 ? tree->indentation() : 0;
        // The program's own lists draw their cells edge to edge, the text
        // framed in blanks; other views keep the style's margins.
        const int margins = view->inherits("CTelvListCtrl") ? 0 : kCellMargins;
        for (int row = 0; row < std::min(model->rowCount(parent), kRowsLooked); ++row) {
            const QModelIndex index = model->index(row, section, parent);
            const QString text = index.data().toString();
            if (index.data(Qt::ToolTipRole).toString() == text)
                continue;
            int cell = view->fontMetrics().horizontalAdvance(text) + margins + indent;
            if (!index.data(Qt::DecorationRole).isNull())
                cell += view->iconSize().isValid() ? view->iconSize().width() + 4 : 20;
            if (cell > room)
                clipped << Describe(view, text, cell, room);
        }
    }
}

// Every text under root that does not fit; empty when all do.
inline QStringList ClippedTexts(const QWidget *root)
{
    QStringList clipped;
    CheckLabels(root, clipped);
    CheckButtons(root, clipped);
    CheckFields(root, clipped);
    for (const QAbstractItemView *view : root->findChildren<QAbstractItemView *>()) {
        if (view->isVisibleTo(root))
            CheckColumns(view, clipped);
    }
    if (const auto *view = qobject_cast<const QAbstractItemView *>(root))
        CheckColumns(view, clipped);
    return clipped;
}

// The clipped texts one a line, for a test's failure message.
inline std::string Report(const QWidget *root)
{
    return ClippedTexts(root).join(QLatin1Char('\n')).toStdString();
}

// Grabs the window into TELV_SCREENSHOT_DIR as name.png when the variable is set.
inline void Screenshot(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("TELV_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        window->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

} // namespace TextFit
