// Choice and map screens and the system-button bar.
#pragma once

namespace mSpots {
// Gives the system-button bar its configuration button.
void InitSystemButtons();
}  // namespace mSpots
