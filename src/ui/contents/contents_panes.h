#pragma once
// Registers the panes of the contents area with the main frame's pane factory,
// and the web thumbnail maker that registration uses.

void RegisterContentsPanes();
