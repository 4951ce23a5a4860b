#include "Commands.h"

namespace zq::tool {

// Placeholder until the subsystem behind this command is built.
int runRepair(const QStringList&, CommandIo io)
{
    io.err << "zq481k-tool: \"repair\" is not available in this build\n";
    return 2;
}

}  // namespace zq::tool
