#pragma once
// Start and stop of the network layer for the whole program: the HTTP
// library's global state is set up once, before worker threads use it.

// Starts the network layer (the version the program asks for is 2.2,
// 0x0202); a flag remembers a successful start. False when it cannot start.
bool StartSockets();
// Stops it; does nothing when it was not started.
void StopSockets();
