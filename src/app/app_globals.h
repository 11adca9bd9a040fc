#pragma once
// The global single objects of the application shell that have no home in
// the layers below: the visual-theme wrapper and the log housekeeping worker.
// Each lives from start-up to exit and is reached through its accessor.

class CLogCleaner;
class CThemeApi;

CThemeApi &GetThemeApi();
CLogCleaner &GetLogCleaner();
