#include "common/GrillaEdicion.h"

#include "platform/Grid.h"

namespace zul {
namespace {

constexpr int kEnter = 13;
constexpr int kDerecha = 39;
constexpr int kInsert = 45;
constexpr int kSuprimir = 46;

// Rows below the data: the bottom row, plus the subtotal row when there is one.
int FilasDebajo(const Grid& grid) {
    return grid.Rows() > 0 && grid.IsSubtotal(grid.Rows() - 1) ? 2 : 1;
}

}  // namespace

void SiguienteFila(Grid& grid, int& ultimaCol, int& primeraCol) {
    const int n = FilasDebajo(grid);
    if (ultimaCol == -1) ultimaCol = grid.Cols() - 1;
    if (primeraCol == -1) primeraCol = 0;
    if (grid.Col() != ultimaCol) return;
    if (grid.Row() == grid.Rows() - n) grid.AddItem(QString(), grid.Rows() - n + 1);
    grid.setLeftCol(0);
    grid.setRow(grid.Row() + 1);
    grid.setCol(primeraCol);
}

int TeclaGrilla(Grid& grid, int& keyCode, const QString& colClave) {
    switch (keyCode) {
        case kEnter:
            keyCode = kDerecha;
            break;
        case kInsert:
            if (grid.Rows() > 1)
                grid.AddItem(QString(), grid.Row());
            else if (grid.Rows() == 1)
                grid.AddItem(QString());
            break;
        case kSuprimir: {
            const int fila = grid.Row();
            if (grid.Col() != 0 || !(fila > 1 || grid.Rows() > 2) || grid.IsSubtotal(fila)) break;
            const int n = FilasDebajo(grid);
            if (colClave.isEmpty()) {
                keyCode = 0;
                grid.RemoveItem(fila);
                if (grid.Rows() == n) grid.AddItem(QString(), grid.Rows() - n + 1);
            } else if (fila != grid.Rows() - n) {
                keyCode = 0;
                grid.RemoveItem(fila);
            } else if (!grid.TextoClave(fila, colClave).isEmpty()) {
                keyCode = 0;
                grid.RemoveItem(fila);
            }
            break;
        }
        default:
            break;
    }
    return keyCode;
}

}  // namespace zul
