#include "OptionFile.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

// Any bytes as option.ini: the reader must neither crash nor read out of bounds.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zq::COptionFile options;
    options.ParseOptionText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
