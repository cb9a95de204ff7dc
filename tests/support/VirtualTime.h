// Drives the simulated dongle and the window timers together on virtual time.
#pragma once

#include <cstdint>

// Advances the simulator and the virtual window timers in step by ms, delivering every event posted
// on the way (each due action runs at its own time, with the Qt events it caused delivered after it).
void AdvanceVirtualTime(uint64_t ms);
