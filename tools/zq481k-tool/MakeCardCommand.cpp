#include "Commands.h"

namespace zq::tool {

// Placeholder until the subsystem behind this command is built.
int runMakeCard(const QStringList&, CommandIo io)
{
    io.err << "zq481k-tool: \"make-card\" is not available in this build\n";
    return 2;
}

}  // namespace zq::tool
