#include "ProgramFolder.h"

#include <QCoreApplication>

namespace zq {

namespace {
QString& chosenFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString ProgramFolder()
{
    if (!chosenFolder().isEmpty())
        return chosenFolder();
    if (!QCoreApplication::instance())
        return {};
    return QCoreApplication::applicationDirPath();
}

void SetProgramFolder(const QString& folder)
{
    chosenFolder() = folder;
}

} // namespace zq
