#pragma once
// Makes an editable grid behave like a data-entry list: the next row after the last editable
// column, Enter as Right arrow, Insert and Delete on rows. A subtotal row at the bottom is kept
// at the bottom.

#include <QString>

namespace zul {

class Grid;

// When the cursor stands in `ultimaCol`, moves it to `primeraCol` of the next row, adding an
// empty row after the last data row when needed. -1 means the last column and column 0; both
// are rewritten in place.
void SiguienteFila(Grid& grid, int& ultimaCol, int& primeraCol);

// Gives the key its list meaning and returns the key code the grid should still see (0 =
// consumed). `colClave` is the key of the column that marks a row as filled ("" = none).
int TeclaGrilla(Grid& grid, int& keyCode, const QString& colClave);

}  // namespace zul
