#include "OptionFile.h"
#include "SettingModel.h"
#include "SetupFile.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Any bytes as setup.cfg, read into the settings model and written back: neither step may crash, and
// whatever was read, the write holds exactly 25 labelled lines.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static zq::COptionFile options;
    zq::device::SettingModel model(options);
    model.SetClock([] { return QDateTime(QDate(2020, 1, 1), QTime(0, 0)); });
    model.Initialize({});
    model.ApplySetupText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QStringList lines = model.SetupLines();
    if (lines.size() != zq::device::kSetupLineCount)
        std::abort();
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(QString::fromLatin1(zq::device::SetupLabel(i))))
            std::abort();
    }
    return 0;
}
