// What the interpreter asks of the message window, the backlog and the choice screens, which sit
// above it. The presentation layer installs its functions at start-up; the interpreter's tests
// install their own. Without any, messages are taken as shown, choices give 0, and the display mode
// byte alone follows.
#pragma once
#include <cstdint>

struct ScriptPresenter {
    bool (*showMessage)(const char* text, bool read);  // one block of message text
    void (*setDisplayMode)(int mode);                  // setMsgWindowMode
    void (*newPage)();                                 // a new page of the message window
    void (*markLogPosition)();                         // the backlog follows the save point
    // A choice of SELECT: begin with the rest of the SELECT line, an option per line, then run,
    // which gives the number of the option taken (0 when a system command ended it).
    bool (*beginChoice)(const char* rest);
    bool (*addChoiceOption)(int32_t number, const char* line);
    int32_t (*runChoice)();
};
// The object must outlive its use; null removes it. Any member may be null.
void setScriptPresenter(const ScriptPresenter* presenter);

bool presentMessageText(const char* text, bool read);
void presentDisplayMode(int mode);
void presentNewPage();
void presentLogMark();
bool presentBeginChoice(const char* rest);
bool presentChoiceOption(int32_t number, const char* line);
int32_t presentRunChoice();
