#include "StringTable.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zq::StringTable table;
    table.Parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (table.Count() > 0 && qsizetype(table.Count()) > qsizetype(size))
        __builtin_trap(); // every text needs at least one line of input
    return 0;
}
