// The program: the application object with the panes of every area
// registered, the password prompt installed, and its event loop.

#include "app/telv_q9_app.h"
#include "ui/contents/contents_panes.h"
#include "ui/players/password_dlg_prompter.h"
#include "ui/players/players_panes.h"
#include "ui/timetable/save_dlg_prompter.h"
#include "ui/timetable/timetable_panes.h"

#include <ctime>

int main(int argc, char **argv)
{
    // The C library loads the time zone on the first local-time conversion;
    // loaded here, before any worker thread exists, workers never race on it.
    tzset();
    CTelvQ9App app(argc, argv);
    RegisterContentsPanes();
    RegisterTimetablePanes();
    RegisterPlayersPanes();
    CPasswordDlgPrompter passwordPrompter;
    CSaveDlgPrompter saveDialogs;
    return app.Run();
}
