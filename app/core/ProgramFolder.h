#pragma once

#include <QString>

namespace zq {

/// The folder the program runs from: config/, lang/, map/ and temp/ lie beside the program.
/// It is QCoreApplication::applicationDirPath() unless SetProgramFolder has chosen another one
/// (tests and tools that work on a bundle they did not start from). Empty when it cannot be found.
QString ProgramFolder();

/// Chooses the program folder; an empty path goes back to the application's own folder.
void SetProgramFolder(const QString& folder);

} // namespace zq
