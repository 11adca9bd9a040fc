#pragma once
// Registers the panes of the players, layouts and settings area with the
// main frame's pane factory.

void RegisterPlayersPanes();
