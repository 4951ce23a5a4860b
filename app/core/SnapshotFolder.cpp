#include "SnapshotFolder.h"

#include "OptionFile.h"

#include <QFileInfo>

namespace zq {

QString SnapshotFolder(COptionFile& options)
{
    if (!options.m_saveDirectory.isEmpty() && QFileInfo(options.m_saveDirectory).isDir())
        return options.m_saveDirectory;
    options.m_saveDirectory = GetDefaultCaptureFolder();
    options.WriteOptionFile();
    return options.m_saveDirectory;
}

} // namespace zq
