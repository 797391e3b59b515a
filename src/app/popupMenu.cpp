#include "app/popupMenu.h"

#include "base/moduleOrder.h"

cPopupMenu gPopupMenu MODULE_OBJECT(kOrderPopupMenu);

void cPopupMenu::Show() {}
bool bossKey() { return true; }
