#pragma once
// The program's texts by numeric id: messages, captions, labels, tool tips
// and file names. The table is compiled in as ":/strings.tsv"; an override
// table (from the optional resource file beside the executable) is consulted
// first, so a localised or rebranded build can replace any text.
//
// Table format: one "<id><TAB><text>" per line, UTF-8; "#" starts a comment
// line; in the text "\n" is a line break, "\t" a tab and "\\" a backslash.

#include "core/printf_format.h"

#include <QHash>
#include <QString>

// Path of the compiled-in table.
inline constexpr const char *kBuiltInStringTable = ":/strings.tsv";

struct StringTableParse {
    QHash<quint32, QString> texts;
    int badLines = 0; // lines without a valid id and tab, and repeated ids
};

// Parses a table; a bad line is skipped (a repeated id keeps its first text).
StringTableParse ParseStringTable(const QByteArray &data);

// The text of id; empty when neither the override nor the built-in table has it.
// Safe to call from any thread.
QString LoadString(quint32 id);

// Reads an override table from a file or resource path (":/..."). Its texts
// win over the built-in ones; ids it lacks still come from the built-in table.
// Returns false, leaving the current overrides as they were, when the path
// cannot be read or holds no valid entry.
bool LoadStringOverrides(const QString &path);
// Drops the override table.
void ClearStringOverrides();

// The text of id filled with the arguments by printf rules (FormatPrintf).
template <typename... Args>
QString FormatString(quint32 id, const Args &...args)
{
    return FormatPrintf(LoadString(id), {PrintfArg(args)...});
}
