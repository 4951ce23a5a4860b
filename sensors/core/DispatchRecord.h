#pragma once

#include "SensorRecords.h"

#include <QByteArray>
#include <QByteArrayView>

namespace zq {

/// Turns one record into a sample or a fix. record starts where the walk finds it: at the "M" of a
/// G-sensor record (six sample bytes follow), or at the "$" of a "$G" sentence; anything else is ignored,
/// and so is a G-sensor record cut short. Appends to *target; always returns 0.
int DispatchRecord(QByteArrayView record, SensorRecords* target);
/// The same, appending to the process-wide arrays.
int DispatchRecord(QByteArrayView record);

/// Walks a record stream (the user data behind the information record) and dispatches every record: "$I"
/// is skipped (18 bytes), "$M" is 16 bytes, "$G" runs to the next "$". The walk stops at a byte other than
/// "$" where a record should begin, at an unknown type, and after a "$G" sentence that ends at a zero byte
/// or the end of the block.
SensorRecords ParseUserData(QByteArrayView block);
/// Walks the record stream into new arrays and swaps them in for the process-wide ones in one step.
void DispatchUserData(const QByteArray& block);

} // namespace zq
