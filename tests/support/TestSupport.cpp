#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zq::test {

QString dataPath(const QString& relative)
{
    return QStringLiteral(ZQ_TEST_DATA_DIR_VALUE "/") + relative;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString bundleDir()
{
    const QByteArray fromEnv = qgetenv("ZQ_BUNDLE_DIR");
    if (!fromEnv.isEmpty())
        return QString::fromLocal8Bit(fromEnv);
    return QStringLiteral(ZQ_BUNDLE_DIR_VALUE);
}

} // namespace zq::test
