#include "LanguageTable.h"

namespace zq {

QString LanguageLibraryName(int index)
{
    // The names of the recorder's Windows language libraries, spelling ("Italien") included.
    static const char* const kNames[kLanguageCount] = {
        "English",
        "Korean",
        "German",
        "Japanese",
        "Chinese",
        "Dutch",
        "French",
        "Italien",
        "Polish",
        "Portuguese",
        "Russian",
        "Spanish",
    };
    if (index < 0 || index >= kLanguageCount)
        return {};
    return QString::fromLatin1(kNames[index]);
}

} // namespace zq
