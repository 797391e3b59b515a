#include "media/movie.h"

// not built yet
void shutdownMovie() {}
// not built yet
bool isMoviePlaying() { return false; }
// not built yet
bool playMovie(const char*) { return false; }
// not built yet
void stopMovie() {}
