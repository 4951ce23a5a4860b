#include "MediaTool.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace zq::tool {

const char* MediaToolPath()
{
    // Found before Qt starts: the hand-over must cost nothing the second program does again.
    static const std::string path = [] {
        char self[PATH_MAX];
        const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
        if (length <= 0)
            return std::string();
        std::string folder(self, size_t(length));
        folder.erase(folder.rfind('/') + 1);
        return folder + kMediaToolName;
    }();
    return path.empty() ? nullptr : path.c_str();
}

int ExecMediaTool(char** argv)
{
    const char* path = MediaToolPath();
    const char* command = argv[1] ? argv[1] : "";
    if (!path) {
        std::fprintf(stderr,
            "zq481k-tool: the %s command runs in %s, and the folder of zq481k-tool is unknown\n", command,
            kMediaToolName);
        return 127;
    }
    argv[0] = const_cast<char*>(path);
    ::execv(path, argv);
    const int error = errno;
    std::fprintf(stderr, "zq481k-tool: the %s command needs %s beside zq481k-tool: %s: %s\n", command,
        kMediaToolName, path, std::strerror(error));
    return error == ENOENT ? 127 : 126;
}

} // namespace zq::tool
