#include "Commands.h"

namespace zq::tool {

int runScan(const QStringList&, CommandIo io)
{
    io.err << "zq481k-tool: \"scan\" is not available in this build\n";
    return 2;
}

}  // namespace zq::tool
