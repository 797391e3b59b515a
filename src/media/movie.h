// Movie playback.
#pragma once

void shutdownMovie();
// A movie is playing (polls its completion).
bool isMoviePlaying();
// Starts a movie file (a path as the script gives it) over the main window; false when it does
// not run (stopMovie then releases what was made).
bool playMovie(const char* path);
// Stops the movie and releases it.
void stopMovie();
