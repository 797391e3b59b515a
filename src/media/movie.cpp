#include "media/movie.h"

void shutdownMovie() {}
