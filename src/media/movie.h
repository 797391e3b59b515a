// Movie playback.
#pragma once

void shutdownMovie();
// A movie is playing (polls its completion).
bool isMoviePlaying();
