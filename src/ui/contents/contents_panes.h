#pragma once
// Registers the panes of the contents area with the main frame's pane factory,
// the web thumbnail maker that registration uses, and the web dialogs and the
// telop dialogs of the frame's editing operations.

void RegisterContentsPanes();
