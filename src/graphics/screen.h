// The three screen canvases.
#pragma once

// Gives the canvases their pixels at the screen size, 3 bytes per pixel.
bool createScreenCanvases();
