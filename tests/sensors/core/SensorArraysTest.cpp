#include "SensorArrays.h"

#include "DispatchRecord.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace zq {
namespace {

/// A block of count G-sensor records whose x axis is value and count GPS fixes whose minute is value.
QByteArray Block(int value, int count)
{
    QByteArray block;
    for (int i = 0; i < count; ++i) {
        block += "$M" + QByteArray(1, char(value - 1)) + QByteArray(2, '\0') + QByteArray(3, char(200))
            + QByteArray(8, '\0');
        block += QByteArrayLiteral("$GPRMC,00") + QByteArray::number(value).rightJustified(2, '0') + "00,A";
    }
    return block;
}

TEST(SensorArraysTest, ReadersNeverSeeAHalfBuiltArray)
{
    ClearSensorArrays();
    std::atomic<bool> done = false;
    std::atomic<int> torn = 0;
    std::atomic<int> looks = 0;
    std::thread reader([&] {
        while (!done) {
            const SensorRecords seen = SensorSnapshot();
            ++looks;
            if (seen.gsensor.isEmpty() && seen.gps.isEmpty())
                continue;
            // Recording k holds k + 10 samples of value k and as many fixes; anything else is torn.
            const int value = seen.gsensor.isEmpty() ? -1 : seen.gsensor.first().x;
            bool whole = seen.gsensor.size() == value + 10 && seen.gps.size() == value + 10;
            for (const CGSensorData& sample : seen.gsensor)
                whole = whole && sample.x == value;
            for (const CGPSData& fix : seen.gps)
                whole = whole && fix.minute == value;
            if (!whole)
                ++torn;
        }
    });
    for (int round = 0; round < 300; ++round) {
        const int value = 1 + round % 50;
        ClearSensorArrays();
        DispatchUserData(Block(value, value + 10));
    }
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0);
    EXPECT_GT(looks, 0);
    EXPECT_EQ(GSensorSamples().size(), 60); // the last recording, value 50
    ClearSensorArrays();
}

} // namespace
} // namespace zq
