#pragma once

// The commands that decode, draw or print (snapshot, report, play) live in a second program beside
// zq481k-tool, so that the listing and file commands start without loading the GUI, print and media
// libraries. zq481k-tool hands those commands over to it unchanged.
namespace zq::tool {

/// File name of the second program, in the folder of zq481k-tool.
inline constexpr const char* kMediaToolName = "zq481k-tool-media";

/// The full path of the second program beside the running one; nullptr when this program's own path is
/// unknown.
const char* MediaToolPath();

/// Replaces this process with the second program, giving it argv[1...] and this environment. Returns
/// only when that fails, after a message on standard error: 127 when the program is missing, 126 when it
/// cannot be started (the statuses a shell gives).
int ExecMediaTool(char** argv);

} // namespace zq::tool
