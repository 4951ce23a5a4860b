#pragma once

#include "AviInfo.h"

#include <QIODevice>
#include <QString>

namespace zq {

/// Reads the user-data block from the first "strd" chunk of the header. False only when the file cannot be
/// opened or is not RIFF "AVI "; a damaged or truncated header gives what was found before the damage.
bool ReadAviInfo(const QString& path, AviInfo* info);
bool ReadAviInfo(QIODevice& device, AviInfo* info);

/// Finds the information record in a user-data block: records before it ("$G" up to the next "$", "$M" of
/// 16 bytes) are passed over, and anything else ends the search. Fills infoRecord and userData (the bytes
/// behind the record) and returns true when a whole 30-byte "$I" record was found.
bool ExtractInfoRecord(const QByteArray& block, AviInfo* info);

} // namespace zq
