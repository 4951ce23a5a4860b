#pragma once

#include <QString>

namespace zq {

class COptionFile;

/// The folder a capture is written to: the option file's save directory when it is an existing folder;
/// otherwise (a pulled card, a deleted folder) the default capture folder, which is created, stored in
/// the options and written to the option file.
QString SnapshotFolder(COptionFile& options);

} // namespace zq
