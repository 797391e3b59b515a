// Screen composition: the picture slots composed into the scene, cross-faded onto the back buffer.
#pragma once

// One frame step: recompose when needed, start or continue the cross-fade, leave the frame in
// gBackBuffer (never presents).
void updateScreen();
