#include "platform/GraphicalSession.h"

namespace velmar {

GraphicalSession ProbeGraphicalSession(const EnvironmentLookup& /*environment*/) {
    return {DisplayState::Reachable, {}, {}};
}

} // namespace velmar
