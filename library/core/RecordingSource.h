#pragma once

#include <QString>

namespace zq {

enum RecordingSourceKind : qint32 {
    kSourceRemovable = 0, // a removable volume (the recorder's card)
    kSourceBrowse = 1, // files and folders chosen by the user
};

/// One item of the source list.
struct RecordingSource {
    qint32 driveIndex = -1; // position in the removable-volume list; not set for the browse item
    QString root; // a volume's mount root ending in "/", or the browse item's label
    qint32 kind = kSourceRemovable;
};

} // namespace zq
