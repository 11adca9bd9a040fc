#pragma once
// The spreadsheet program that lays out and prints the print files: the
// print macro beside the program (a Python script for the headless office
// suite, res/print/PrintMacroJ.py) run as a process of its own. With no
// printer set up it writes "Print.pdf" into the print folder instead.

#include "ops/print_files.h"

#include <QString>

// The macro file for the workbook name of the string table ("PrintMacroJ.xls"
// gives "PrintMacroJ.py") in a folder.
QString PrintMacroPath(const QString &folder, const QString &workbookName);

// Runs the macro over the files and returns the print's end code (0 done,
// 1 the program could not be started, 2 the macro failed). pdfPath receives
// the PDF written in place of printing; empty when it printed.
quint32 RunPrintMacro(const QString &macroPath, const PrintFileSet &files, QString &pdfPath);
