#pragma once
// CUIT and CUIL check digit (modulo 11, weights 5 4 3 2 7 6 5 4 3 2).

#include <QString>

namespace zul {

// True when the eleventh digit is the check digit of the first ten. Only the first 16
// characters count; anything but digits is dropped; missing digits count as 0.
bool ValidarCuit(const QString& cuit);
// What the data-entry windows accept: exactly 11 digits once separators (hyphens, blanks,
// dots, slashes) are removed, and a valid check digit.
bool CuitAceptable(const QString& cuit);

}  // namespace zul
