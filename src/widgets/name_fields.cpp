#include "widgets/name_fields.h"

#include <QComboBox>
#include <QStyle>
#include <QTableWidget>

void FitNameCombo(QComboBox *combo)
{
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(kNameFieldChars);
    QObject::connect(combo, &QComboBox::currentTextChanged, combo, [combo](const QString &name) { combo->setToolTip(name); });
    QObject::connect(combo->model(), &QAbstractItemModel::rowsInserted, combo,
                     [combo](const QModelIndex &, int first, int last) {
                         for (int row = first; row <= last; ++row)
                             combo->setItemData(row, combo->itemText(row), Qt::ToolTipRole);
                     });
}

void FitNameColumn(QTableWidget *table, int column)
{
    // The margins a cell keeps on either side of its text.
    const int widest = table->fontMetrics().averageCharWidth() * kNameFieldChars
        + 2 * table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 2;
    if (table->columnWidth(column) > widest)
        table->setColumnWidth(column, widest);
    for (int row = 0; row < table->rowCount(); ++row) {
        if (QTableWidgetItem *item = table->item(row, column))
            item->setToolTip(item->text());
    }
}
