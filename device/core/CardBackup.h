#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace zq::device {

/// Keeps the recorder's information files and settings safe over a card format. The files are copied (not
/// moved) into a fresh folder of their own and compared with the originals before the format may start;
/// afterwards they are copied back under the names they had and the folder is removed only once every file
/// on the card is verified. The card's file system ignores letter case, so the names match in any case.
class CardBackup {
public:
    struct Item {
        QString cardName; // the name as it stood on the card ("SETUP.CFG" stays "SETUP.CFG")
        QString backupPath; // its copy
    };

    /// The carried files, in the order they are backed up and restored.
    static QStringList CarriedNames();
    /// Where backups are kept: the user's data folder + "/card-backup".
    static QString DefaultBaseFolder();

    /// Copies the carried files that stand in the root into a new folder under `baseFolder` and verifies
    /// the copies. False with the reason when any copy fails (nothing is left behind then). With none of
    /// the files on the card it succeeds without creating a folder.
    bool Create(const QString& root, const QString& baseFolder, QString* error);
    /// Copies every backed-up file into the root (through a temporary file and a rename), verifies it and,
    /// when all are verified, removes the backup folder. False with the reason otherwise; the backup stays.
    bool Restore(const QString& root, QString* error);

    const QVector<Item>& Items() const { return m_items; }
    bool IsEmpty() const { return m_items.isEmpty(); }
    /// The folder holding the copies; empty when there was nothing to back up.
    QString Folder() const { return m_folder; }

private:
    QVector<Item> m_items;
    QString m_folder;
};

} // namespace zq::device
