#pragma once
// A field whose limit is below what its record may hold (a limit the dialog
// keeps for typing) shows a longer stored text whole: its limit grows to the
// text, so opening the dialog and pressing OK never cuts what was stored.

class QLineEdit;
class QString;

void SetTextWhole(QLineEdit *edit, const QString &text);
