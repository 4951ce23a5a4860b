#pragma once

#include <QByteArrayView>

namespace zq {

// The leading-number conversions of the sentence fields: leading blanks, then as much of a decimal number as
// the text holds; an empty or non-numeric field reads 0. Unlike atoi/atof they ignore the C locale (a
// German locale would stop at the decimal point) and never overflow.

/// An optionally signed run of digits; saturates at the 32-bit range.
int LeadingInt(QByteArrayView text);
/// An optionally signed decimal with fraction and exponent; a value outside the double range reads 0.
double LeadingDouble(QByteArrayView text);

} // namespace zq
