#include "media/movie.h"

void shutdownMovie() {}
bool isMoviePlaying() { return false; }
