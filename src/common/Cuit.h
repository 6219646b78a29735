#pragma once
// CUIT and CUIL check digit (modulo 11, weights 5 4 3 2 7 6 5 4 3 2).

#include <QString>

class QLineEdit;

namespace zul {

// True when the eleventh digit is the check digit of the first ten. Only the first 16
// characters count; anything but digits is dropped; missing digits count as 0.
bool ValidarCuit(const QString& cuit);
// What the data-entry windows accept: 11 digits, or 13 characters that are 11 digits and two
// separators anywhere (hyphen, blank, dot, slash); then a valid check digit. Blanks around the
// text do not count.
bool CuitAceptable(const QString& cuit);
// The check of a CUIT box when it is left: an empty box passes; otherwise a CUIT that is not
// acceptable gets "El CUIT no es válido" and false (the focus stays in the box). An accepted
// CUIT is left in the box, and so stored, without the blanks around it.
bool ComprobarCajaCuit(QLineEdit* caja);

}  // namespace zul
