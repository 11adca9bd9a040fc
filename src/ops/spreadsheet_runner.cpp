#include "ops/spreadsheet_runner.h"

#include "core/path_utils.h"
#include "core/syslog.h"

#include <QFileInfo>
#include <QProcess>

namespace {

// The interpreter that carries the office suite's bridge; another python3
// on the path may lack it.
constexpr const char *kSystemPython = "/usr/bin/python3";
// Starting the suite and printing take seconds; a macro that hangs is ended.
constexpr int kMacroTimeoutMs = 5 * 60 * 1000;

enum MacroExit : int { MACRO_PRINTED = 0, MACRO_NO_PROGRAM = 1, MACRO_FAILED = 2, MACRO_PDF = 3 };

QString Flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

QString PrintMacroPath(const QString &folder, const QString &workbookName)
{
    return JoinPath(folder, QFileInfo(workbookName).completeBaseName() + QStringLiteral(".py"));
}

quint32 RunPrintMacro(const QString &macroPath, const PrintFileSet &files, QString &pdfPath)
{
    pdfPath.clear();
    const QString python = QFileInfo::exists(QString::fromLatin1(kSystemPython)) ? QString::fromLatin1(kSystemPython)
                                                                                   : QStringLiteral("python3");
    if (!QFileInfo(macroPath).isFile()) {
        WriteSyslog(LOG_ERR_APP, "Print failed. : Macro not found : %s", qUtf8Printable(macroPath));
        return PRINT_END_NO_PROGRAM;
    }
    QProcess macro;
    macro.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    macro.setStandardOutputFile(QProcess::nullDevice());
    macro.start(python, {macroPath, files.folder, Flag(files.calendar), Flag(files.schedule),
                         QString::number(files.playlists), QString::number(files.bgmLists)});
    if (!macro.waitForStarted()) {
        WriteSyslog(LOG_ERR_APP, "Print failed. : OLE Error = 0x%08X", quint32(macro.error()));
        return PRINT_END_NO_PROGRAM;
    }
    if (!macro.waitForFinished(kMacroTimeoutMs)) {
        macro.kill();
        macro.waitForFinished();
        WriteSyslog(LOG_ERR_APP, "Print failed. : OLE Dispatch Error = 0x%08X", quint32(QProcess::Timedout));
        return PRINT_END_MACRO_FAILED;
    }
    const int exit = macro.exitStatus() == QProcess::NormalExit ? macro.exitCode() : MACRO_FAILED;
    switch (exit) {
    case MACRO_PRINTED:
        return PRINT_END_DONE;
    case MACRO_PDF:
        pdfPath = JoinPath(files.folder, QStringLiteral("Print.pdf"));
        return PRINT_END_DONE;
    case MACRO_NO_PROGRAM:
        WriteSyslog(LOG_ERR_APP, "Print failed. : OLE Error = 0x%08X", quint32(exit));
        return PRINT_END_NO_PROGRAM;
    default:
        WriteSyslog(LOG_ERR_APP, "Print failed. : OLE Dispatch Error = 0x%08X", quint32(exit));
        return PRINT_END_MACRO_FAILED;
    }
}
