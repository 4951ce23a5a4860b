#include "CardBackup.h"

#include "CardFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace zq::device {

namespace {

bool readAll(const QString& path, QByteArray* bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

QStringList CardBackup::CarriedNames()
{
    return { QLatin1String(kSystemInfo1Name), QLatin1String(kSystemInfo2Name),
        QLatin1String(kSetupFileName) };
}

QString CardBackup::DefaultBaseFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/card-backup");
}

bool CardBackup::Create(const QString& root, const QString& baseFolder, QString* error)
{
    m_items.clear();
    m_folder.clear();
    const QString cardRoot = CardRootWithSlash(root);
    QStringList found;
    for (const QString& name : CarriedNames()) {
        const QString onCard = FindFileInRoot(cardRoot, name, Qt::CaseInsensitive);
        if (!onCard.isEmpty())
            found.append(onCard);
    }
    if (found.isEmpty())
        return true;

    // A fresh folder per format, so an older backup that could not be restored is never overwritten.
    if (!QDir().mkpath(baseFolder)) {
        *error = QStringLiteral("the backup folder %1 cannot be created").arg(baseFolder);
        return false;
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString folder;
    for (int n = 0; n < 1000 && folder.isEmpty(); ++n) {
        const QString candidate = baseFolder + '/' + stamp + (n ? QStringLiteral("-%1").arg(n) : QString());
        if (!QFileInfo::exists(candidate) && QDir().mkdir(candidate))
            folder = candidate;
    }
    if (folder.isEmpty()) {
        *error = QStringLiteral("no new backup folder can be made in %1").arg(baseFolder);
        return false;
    }

    for (const QString& onCard : found) {
        const QString source = cardRoot + onCard;
        const QString target = folder + '/' + onCard;
        QByteArray original;
        QByteArray copy;
        QString reason;
        bool ok = readAll(source, &original, &reason);
        if (ok) {
            const CardWriteResult written = WriteFileAtomically(target, original);
            if (!written.ok)
                reason = QStringLiteral("%1: %2").arg(target, written.reason);
            ok = written.ok && readAll(target, &copy, &reason);
            if (ok && copy != original) {
                ok = false;
                reason = QStringLiteral("the copy of %1 differs from the card's file").arg(onCard);
            }
        }
        if (!ok) {
            *error = QStringLiteral("%1 could not be backed up (%2)").arg(onCard, reason);
            QDir(folder).removeRecursively();
            m_items.clear();
            return false;
        }
        m_items.append({ onCard, target });
    }
    m_folder = folder;
    return true;
}

bool CardBackup::Restore(const QString& root, QString* error)
{
    if (m_items.isEmpty())
        return true;
    const QString cardRoot = CardRootWithSlash(root);
    QStringList failures;
    for (const Item& item : m_items) {
        QByteArray saved;
        QByteArray back;
        QString reason;
        bool ok = !cardRoot.isEmpty() && readAll(item.backupPath, &saved, &reason);
        if (cardRoot.isEmpty())
            reason = QStringLiteral("the card is not mounted");
        if (ok) {
            // A file left on the card under another case of the name would hide the restored one.
            const QString other = FindFileInRoot(cardRoot, item.cardName, Qt::CaseInsensitive);
            if (!other.isEmpty() && other != item.cardName)
                QFile::remove(cardRoot + other);
            const CardWriteResult written = WriteFileAtomically(cardRoot + item.cardName, saved);
            if (!written.ok)
                reason = written.reason;
            ok = written.ok && readAll(cardRoot + item.cardName, &back, &reason);
            if (ok && back != saved) {
                ok = false;
                reason = QStringLiteral("the file on the card differs from its backup");
            }
        }
        if (!ok)
            failures.append(QStringLiteral("%1 (%2)").arg(item.cardName, reason));
    }
    if (!failures.isEmpty()) {
        *error = QStringLiteral("%1 could not be put back on the card; the backup stays in %2")
                     .arg(failures.join(", "), m_folder);
        return false;
    }
    QDir(m_folder).removeRecursively();
    return true;
}

} // namespace zq::device
