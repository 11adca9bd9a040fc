#pragma once
// Fields that show the names operators give players and groups. Such a name
// may run past a hundred characters; a combo box or a list column sized to
// it would push its window past the screen. These fields keep a width of
// their own, whatever their names, cut a longer name short and show it whole
// in a tooltip.

class QComboBox;
class QTableWidget;

// The characters of a name such a field shows before it cuts the name short.
inline constexpr int kNameFieldChars = 32;

// A combo box of names, sized for kNameFieldChars characters (wider where
// its layout gives it room); each entry (also one added later) and the
// current one carry the whole name as their tooltip.
void FitNameCombo(QComboBox *combo);

// Narrows a column of names to kNameFieldChars characters where it is wider
// and gives each of its cells its whole text as the tooltip. Called after
// the column was sized to its contents.
void FitNameColumn(QTableWidget *table, int column);
