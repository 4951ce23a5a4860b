#pragma once

#include <QString>

namespace zq {

/// Whether the program folder takes new files (a portable bundle); an installed one usually does not.
bool ProgramFolderWritable();
/// Where the option file lives: beside the program in a writable bundle, else the user's configuration
/// folder + "/config/option.ini" (that folder is created).
QString OptionFileLocation();
/// The viewer's own temporary folder (repaired copies): beside the program in a writable bundle, else the
/// user's cache folder + "/temp". Not created here.
QString TemporaryFolder();
/// Removes the regular files of a folder; links, subfolders and what links point to stay. The number removed.
int EmptyTemporaryFolder(const QString& folder);

} // namespace zq
