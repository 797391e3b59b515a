#include "presentation/choiceScreens.h"

namespace mSpots {
void InitSystemButtons() {}
}  // namespace mSpots
