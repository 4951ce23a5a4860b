#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <array>

namespace zq {

/// The user-data block of a recording's header, as ReadAviInfo pulls it out.
struct AviInfo {
    static constexpr int kInfoRecordBytes = 30;

    /// Copy of the first "$I" record; all zero when the block has none.
    std::array<char, kInfoRecordBytes> infoRecord {};
    /// Number of bytes in userData.
    quint32 userDataSize = 0;
    /// The record stream behind the "$I" record ("$M", "$G" and inner "$I" records).
    QByteArray userData;

    /// The decimal digit in the information record's last byte (the recorder's channel count); 0 when that
    /// byte is not a digit. Only the record's own bytes are read.
    int infoDigit() const
    {
        const char last = infoRecord[kInfoRecordBytes - 1];
        return last >= '0' && last <= '9' ? last - '0' : 0;
    }
};

} // namespace zq
