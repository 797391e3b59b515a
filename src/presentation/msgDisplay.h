// Message display driver.
#pragma once

// Puts the message window into display mode adv.
void initMsgWindow();
