#pragma once

#include "FileAttributes.h"

#include <QString>
#include <map>
#include <set>
#include <utility>

namespace zq::test {

/// Stands in for the FAT attribute calls of the operating system while it lives: the folders added are
/// on "FAT", and files on them report the attribute bits given (0 when none were given). Folders and files
/// are recognised by device and inode, so any path that leads to them counts. Counts the calls it answers.
class FakeFatAttributes final : public platform::FatAttributeProbe {
public:
    FakeFatAttributes();
    ~FakeFatAttributes() override;
    FakeFatAttributes(const FakeFatAttributes&) = delete;
    FakeFatAttributes& operator=(const FakeFatAttributes&) = delete;

    bool AddFatFolder(const QString& folder);
    bool SetAttributes(const QString& file, quint32 attributes);

    bool HasFatAttributes(int folderFd) const override;
    bool ReadAttributes(int folderFd, const char* name, quint32* attributes) const override;

    mutable int m_folderQueries = 0;
    mutable int m_attributeReads = 0;

private:
    using Node = std::pair<quint64, quint64>; // device, inode
    std::set<Node> m_fatFolders;
    std::map<Node, quint32> m_attributes;
};

} // namespace zq::test
