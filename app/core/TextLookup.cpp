#include "TextLookup.h"

#include "OptionFile.h"

namespace zq {

bool LookupText(int id, QString* text)
{
    COptionFile& options = TheOptionFile();
    if (!options.HasLanguageLibrary())
        options.LoadLanguageDll();
    const StringTable* table = options.LanguageLibrary();
    if (!table || !table->Contains(id))
        return false;
    if (text)
        *text = table->Text(id);
    return true;
}

QString Text(int id)
{
    QString text;
    LookupText(id, &text);
    return text;
}

} // namespace zq
