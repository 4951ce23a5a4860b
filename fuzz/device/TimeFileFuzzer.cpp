#include "TimeFile.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Any bytes as time.cfg: the reader takes at most two characters per field and never reads past the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const zq::device::TimeFields fields
        = zq::device::ParseTimeText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const QString* field :
        { &fields.month, &fields.day, &fields.hour, &fields.minute, &fields.second }) {
        if (field->size() > 2)
            std::abort();
    }
    if (fields.year.size() > 4)
        std::abort();
    return 0;
}
