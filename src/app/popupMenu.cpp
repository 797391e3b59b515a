#include "app/popupMenu.h"

#include "base/moduleOrder.h"

cPopupMenu gPopupMenu MODULE_OBJECT(kOrderPopupMenu);

// not built yet
void cPopupMenu::Show() {}
// not built yet
bool bossKey() { return true; }
