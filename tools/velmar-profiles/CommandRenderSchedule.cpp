#include "tools/velmar-profiles/Commands.h"

#include <ostream>

namespace velmar::tool {

int CommandRenderSchedule(const Arguments& /*args*/, std::ostream& /*out*/, std::ostream& err) {
    err << "velmar-profiles: this command is not available yet\n";
    return 2;
}

} // namespace velmar::tool
