// Movie playback.
#pragma once

void shutdownMovie();
