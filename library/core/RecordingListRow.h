#pragma once

#include "RecordingEntry.h"

#include <QString>

namespace zq {

/// The six column texts of one row of the recording list.
struct RecordingListRow {
    QString number; // "%d", counting from 1
    QString date; // "%04d-%02d-%02d"
    QString time; // "%02d:%02d:%02d"
    QString category;
    QString path;
    QString name;
};

RecordingListRow ListRowFor(const RecordingEntry& entry, int rowIndex);

} // namespace zq
