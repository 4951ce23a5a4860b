#pragma once

#include <QString>

namespace zq {

/// Looks a user-visible text up by its numeric identifier in the current language's string table,
/// loading the table first when none is loaded. False when there is no table or no such text: the
/// caller then skips the label, tool tip or message.
bool LookupText(int id, QString* text);

/// The text, or an empty string when LookupText fails.
QString Text(int id);

} // namespace zq
