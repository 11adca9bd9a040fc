#include "app/app_globals.h"

#include "core/log_cleaner.h"
#include "core/theme_api.h"

CThemeApi &GetThemeApi()
{
    static CThemeApi theme;
    return theme;
}

CLogCleaner &GetLogCleaner()
{
    static CLogCleaner cleaner;
    return cleaner;
}
