#pragma once
// Registers the panes of the contents area with the main frame's pane factory.

void RegisterContentsPanes();
