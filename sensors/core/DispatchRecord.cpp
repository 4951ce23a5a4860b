#include "DispatchRecord.h"

#include "SensorArrays.h"

#include <cstring>

namespace zq {

namespace {

constexpr qsizetype kInnerInfoRecordBytes = 18;
constexpr qsizetype kSensorRecordBytes = 16;

/// Calls sink for each record of the stream, as the walk finds it.
template <typename Sink> void WalkUserData(QByteArrayView block, Sink&& sink)
{
    const qsizetype size = block.size();
    qsizetype offset = 0;
    while (offset < size) {
        if (block[offset] != '$' || offset + 1 >= size)
            return;
        const char type = block[offset + 1];
        if (type == 'I') {
            offset += kInnerInfoRecordBytes;
        } else if (type == 'G') {
            // The sentence runs to the next "$"; the search reads the block as text and ends at a zero byte.
            qsizetype next = offset + 1;
            while (next < size && block[next] != '$' && block[next] != '\0')
                ++next;
            sink(block.sliced(offset, next - offset));
            if (next >= size || block[next] != '$')
                return;
            offset = next;
        } else if (type == 'M') {
            const qsizetype end = qMin(offset + kSensorRecordBytes, size);
            sink(block.sliced(offset + 1, end - offset - 1));
            offset += kSensorRecordBytes;
        } else {
            return;
        }
    }
}

bool ReadSample(QByteArrayView record, CGSensorData* sample)
{
    if (record.size() < 1 + CGSensorData::kSampleBytes || record[0] != 'M')
        return false;
    uchar bytes[CGSensorData::kSampleBytes];
    std::memcpy(bytes, record.data() + 1, sizeof bytes);
    *sample = CGSensorData::FromSampleBytes(bytes);
    return true;
}

bool IsSentence(QByteArrayView record)
{
    return record.size() >= 2 && record[0] != 'M' && record[1] == 'G';
}

} // namespace

int DispatchRecord(QByteArrayView record, SensorRecords* target)
{
    CGSensorData sample;
    if (ReadSample(record, &sample))
        target->gsensor.append(sample);
    else if (IsSentence(record))
        target->gps.append(CGPSData::FromRmcSentence(record));
    return 0;
}

int DispatchRecord(QByteArrayView record)
{
    CGSensorData sample;
    if (ReadSample(record, &sample))
        AppendSensorSample(sample);
    else if (IsSentence(record))
        AppendGpsFix(CGPSData::FromRmcSentence(record));
    return 0;
}

SensorRecords ParseUserData(QByteArrayView block)
{
    SensorRecords records;
    WalkUserData(block, [&records](QByteArrayView record) { DispatchRecord(record, &records); });
    return records;
}

void DispatchUserData(const QByteArray& block)
{
    ReplaceSensorArrays(ParseUserData(block));
}

} // namespace zq
