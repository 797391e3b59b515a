#include "media/movie.h"

// not built yet
void shutdownMovie() {}
// not built yet
bool isMoviePlaying() { return false; }
