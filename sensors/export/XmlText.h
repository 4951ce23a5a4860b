#pragma once

#include <QString>

namespace zq {

/// Text that XML 1.0 can carry: control characters other than tab, line feed and carriage return, lone
/// surrogates and U+FFFE/U+FFFF (all possible in a Linux file name) become U+FFFD. Markup characters stay;
/// the XML writer escapes them.
QString XmlText(const QString& text);

/// A coordinate in decimal degrees with seven decimals (about a centimetre), as GPX and KML write them.
QString DegreesText(double degrees);

} // namespace zq
