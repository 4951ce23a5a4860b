#include "RecordingLibrary.h"

#include "FolderListing.h"
#include "Volumes.h"

#include <QFileInfo>
#include <algorithm>

namespace zq {

namespace {

QString asFolder(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

} // namespace

RecordingLibrary::RecordingLibrary() = default;

const QString& RecordingLibrary::FolderChoiceLabel()
{
    static const QString label = QStringLiteral("폴더 선택");
    return label;
}

const QString& RecordingLibrary::BrowseItemLabel()
{
    static const QString label = QStringLiteral("내 컴퓨터에서 찾기");
    return label;
}

const QString& RecordingLibrary::DefaultExtension()
{
    static const QString extension = QStringLiteral("avi");
    return extension;
}

int RecordingLibrary::RefreshSources()
{
    m_sources.clear();
    const QVector<platform::Volume> volumes = platform::Volumes::Removable();
    for (int i = 0; i < volumes.size(); ++i) {
        // A reader without a card has no medium and is left out.
        if (!volumes[i].mediumPresent)
            continue;
        m_sources.append({ i, volumes[i].root, kSourceRemovable });
    }
    m_sources.append({ -1, BrowseItemLabel(), kSourceBrowse });
    return int(m_sources.size());
}

const RecordingSource* RecordingLibrary::SourceAt(int index) const
{
    return ValidIndex(index) ? &m_sources[index] : nullptr;
}

int RecordingLibrary::SourceIndexForPath(const QString& firstPath) const
{
    for (int i = 0; i < m_sources.size(); ++i) {
        if (m_sources[i].kind == kSourceRemovable && platform::SameRoot(m_sources[i].root, firstPath))
            return i;
    }
    return int(m_sources.size()) - 1;
}

bool RecordingLibrary::IsAcceptedName(const QString& name) const
{
    if (name.isEmpty())
        return false;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QStringView extension = dot < 0 ? QStringView(name) : QStringView(name).mid(dot + 1);
    // A card holds thousands of names: a plain ASCII extension is compared in place (the extensions are
    // kept in lower case); anything else is lowered as Qt lowers it.
    const bool ascii
        = std::all_of(extension.begin(), extension.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii)
        return m_extensions.contains(extension.toString().toLower());
    auto lowered = [](QChar c) { return c >= u'A' && c <= u'Z' ? char16_t(c.unicode() + 32) : c.unicode(); };
    return std::any_of(m_extensions.begin(), m_extensions.end(), [&](const QString& accepted) {
        return accepted.size() == extension.size()
            && std::equal(extension.begin(), extension.end(), accepted.begin(),
                [&](QChar mine, QChar theirs) { return lowered(mine) == theirs.unicode(); });
    });
}

bool RecordingLibrary::AddExtension(const QString& extension)
{
    const QString lower = extension.toLower();
    if (m_extensions.contains(lower))
        return false;
    m_extensions.append(lower);
    return true;
}

bool RecordingLibrary::AddFolderWord(const QString& word)
{
    if (m_folderWords.contains(word))
        return false;
    m_folderWords.append(word);
    return true;
}

bool RecordingLibrary::ScanFolder(const QString& folder, qint32 origin, bool recurse)
{
    platform::FolderListing listing(folder);
    if (!listing.IsOpen())
        return false;
    // Unsorted: entries come out in the order the file system lists them; the sort fixes the final order.
    while (listing.Next()) {
        if (listing.IsFolder()) {
            // A linked folder may lead back up the tree; only real subfolders are entered.
            if (recurse && !listing.IsLink())
                ScanFolder(folder + listing.Name() + QLatin1Char('/'), origin, recurse);
            continue;
        }
        if (!IsAcceptedName(listing.Name()) || listing.IsHidden())
            continue;
        m_entries.append(ParseEntry({ listing.Name(), listing.Size() }, folder, origin));
    }
    return true;
}

bool RecordingLibrary::OpenVolume(int index)
{
    m_sourceFolders.clear();
    m_entries.clear();
    const QString root = m_sources[index].root;
    ScanFolder(root, kOriginScan, true);
    m_sourceFolders.append(root);
    Finish(index);
    return true;
}

void RecordingLibrary::Finish(int index)
{
    SortEntries(m_entries);
    m_selectedSource = index;
}

bool RecordingLibrary::OpenSource(int index)
{
    if (!ValidIndex(index))
        return false;
    m_currentKind = m_sources[index].kind;
    if (m_sources[index].kind == kSourceBrowse)
        return false;
    return OpenVolume(index);
}

bool RecordingLibrary::OpenSource(int index, const DroppedPaths& dropped)
{
    if (!ValidIndex(index))
        return false;
    m_currentKind = m_sources[index].kind;
    if (m_sources[index].kind != kSourceBrowse)
        return OpenVolume(index);
    return TakeUserPaths(index, dropped.paths, false);
}

bool RecordingLibrary::OpenSource(int index, const PickedPaths& picked)
{
    if (!ValidIndex(index))
        return false;
    m_currentKind = m_sources[index].kind;
    if (m_sources[index].kind != kSourceBrowse)
        return OpenVolume(index);
    return TakeUserPaths(index, picked.paths, true);
}

bool RecordingLibrary::TakeUserPaths(int index, const QStringList& paths, bool appendExtension)
{
    m_sourceFolders.clear();
    m_entries.clear();
    bool tookFile = false;
    QString lastPath;
    for (QString path : paths) {
        lastPath = path;
        if (QFileInfo(path).isDir()) {
            ScanFolder(asFolder(path), kOriginUser, true);
            continue;
        }
        if (appendExtension && !path.endsWith(QLatin1String(".avi"), Qt::CaseInsensitive))
            path += QLatin1String(".avi");
        // A path that does not exist (any more) ends the whole drop.
        if (!TakeSingleFile(path))
            return false;
        tookFile = true;
    }
    // A drop of folders alone reports no file taken, yet its recordings are listed: they are put in list
    // order all the same, since the file system lists a folder in no particular order.
    if (!tookFile) {
        SortEntries(m_entries);
        return false;
    }
    m_sourceFolders.append(lastPath);
    Finish(index);
    return true;
}

bool RecordingLibrary::TakeSingleFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    // A file the user names is taken even when it is hidden.
    if (IsAcceptedName(info.fileName()))
        m_entries.append(ParseEntry(
            { info.fileName(), quint64(info.size()) }, asFolder(info.absolutePath()), kOriginUser));
    return true;
}

} // namespace zq
