#pragma once

namespace corvix {

// Returns when the time has passed, handling pending events (timers, sockets, driver callbacks)
// all the while, so the program stays responsive during a wait.
void Delay(int seconds, int milliseconds);

}  // namespace corvix
