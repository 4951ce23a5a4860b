#pragma once

#include "TestSupport.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>

namespace zq::test {

/// The 26-byte labels as the recorder writes them, spelled out here on their own so that a wrong label in
/// the code cannot go unnoticed.
inline const QStringList& RecorderLabels()
{
    static const QStringList labels = {
        "Product Name            : ",
        "H/W Version             : ",
        "S/W Version             : ",
        "Acc Trigger Level       : ",
        "REC Video Qulity        : ",
        "REC Audio Enable        : ",
        "SPK Vol                 : ",
        "Video Channels          : ",
        "Parking Mode Select     : ",
        "Car Battery Volt        : ",
        "Battery CutOff Volt     : ",
        "Power Off Timer         : ",
        "SD Allocation           : ",
        "Speaker Mute            : ",
        "LCD Off Time            : ",
        "LDWS Set On             : ",
        "FCWS Set On             : ",
        "Sensitivity_LDWS        : ",
        "Sensitivity_FCWS        : ",
        "Center_X                : ",
        "GShock Event Count      : ",
        "Radar Event Count       : ",
        "ADAS Car Type           : ",
        "Parking Mode            : ",
        "Night Version OnOff     : ",
    };
    return labels;
}

/// setup.cfg bytes from 25 values (fewer values give fewer lines), each line ending in `lineEnd`.
inline QByteArray SetupText(const QStringList& values, const QByteArray& lineEnd = "\r\n")
{
    QByteArray text;
    for (int i = 0; i < values.size() && i < RecorderLabels().size(); ++i)
        text += RecorderLabels()[i].toLatin1() + values[i].toUtf8() + lineEnd;
    return text;
}

/// A typical card's values: every field away from its default so that a field read into the wrong place
/// shows.
inline QStringList TypicalValues()
{
    return { "ZQ481K", "V2.10", "V3.45", "5", "2", "0", "1", "0", "7", "1", "6", "4", "1", "1", "2", "1", "1",
        "55", "45", "12", "9", "8", "3", "1", "1" };
}

/// A folder standing in for a card root, with helpers for its files.
struct TestCard {
    QTemporaryDir dir;
    QString root() const { return dir.path() + '/'; }
    QString path(const QString& name) const { return root() + name; }
    bool put(const QString& name, const QByteArray& bytes) const { return writeFile(path(name), bytes); }
    QByteArray get(const QString& name) const { return readFile(path(name)); }
};

inline QDateTime PinnedNow()
{
    return QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7));
}

} // namespace zq::test
