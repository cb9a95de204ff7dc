// Start-up: the simulated world the dongle and its peers come from.
#pragma once

// Loads the world that TINDREL_SIM_WORLD names, or the built-in one. A refused world is reported on
// standard error and in a message box, so that a program started from a desktop does not end unseen;
// false then, and the program ends.
bool LoadSimulatedWorld();
