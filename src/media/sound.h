// The four sound channels.
#pragma once

void initSound();
void shutdownSound();
void stopSE();
void stopVoice();
