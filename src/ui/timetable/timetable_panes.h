#pragma once
// Registers the panes of the playlist and schedule area with the main
// frame's pane factory.

void RegisterTimetablePanes();
