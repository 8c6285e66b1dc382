#include "app/DesktopFrontEnd.h"

namespace velmar {

void ChooseQtPlatform(const GraphicalSession& /*session*/) {}

void EndBeforeQtOnWayland(int /*status*/) {}

} // namespace velmar
