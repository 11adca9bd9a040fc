#pragma once
// The daily log file. Every subsystem writes through WriteSyslog; lines above
// the configured level are dropped. Lines start with the class and function
// name (or "[player] : "), then " : " and the text.

#include <QString>

enum SyslogLevel : int {
    LOG_ERR_WIN = 0,  // "ERR [WIN]": a platform call failed (with its error code)
    LOG_ERR_APP = 1,  // "ERR [APP]"
    LOG_ERR_DLKX = 2, // "ERR [DLKX]"
    LOG_ERR_HTTP = 3, // "ERR [HTTP]"
    LOG_WARNING = 4,  // "WNG"
    LOG_NOTICE = 5,   // "NTC"
    LOG_INFO = 6,     // "INF"
    LOG_DEBUG = 7,    // "DBG"
};

constexpr int kDefaultLogLevel = LOG_NOTICE;
constexpr const char *kLogFilePrefix = "Q9_";

// Opens the daily log in folder with the file prefix; lines above level are not
// written. Creates the folder when missing. Returns false when the folder
// cannot be created (logging then stays off).
bool OpenSyslog(const QString &folder, const QString &prefix, int level);
void CloseSyslog();
bool IsSyslogOpen();
int GetSyslogLevel();

// Writes one line when level is within the configured level. The format
// follows printf; "%s" arguments are UTF-8 C strings.
void WriteSyslog(int level, const char *format, ...) __attribute__((format(printf, 2, 3)));
// The same for a ready text.
void WriteSyslogText(int level, const QString &text);

// "ERR [WIN]" ... "DBG"; an empty text for other levels.
const char *SyslogLevelText(int level);
// The log file of a day: folder + "/" + prefix + "YYYYMMDD.log".
QString SyslogFileName(const QString &folder, const QString &prefix, int year, int month, int day);
