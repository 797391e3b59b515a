// Movie playback through the platform's filter graph, rendered into a child video window over the
// main window's client area. While a movie is active nothing of the game's own drawing reaches
// the screen and the screen mode does not change.
#pragma once

// shutdownMovie, then a new filter graph; true when one exists.
bool initMovie();
// Starts the movie file at path (as the script gives it: absolute or from the working folder).
// Music and the ambient loop are stopped and forgotten first. False at the first failure, leaving
// what was made for stopMovie.
bool playMovie(const char* path);
// Takes every pending event of the graph; its completion or an abort stops the movie, and that
// call still returns true. False once no movie is active.
bool isMoviePlaying();
// Stops the graph, hides the video window, gives it back its owner and releases everything.
void stopMovie();
// stopMovie (shutdown, the main window's destruction, before a new graph).
void shutdownMovie();
// A movie is active (its event interface exists); polls nothing, so it never takes an event.
bool isMovieActive();
