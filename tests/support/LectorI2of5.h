#pragma once
// Reads Interleaved 2 of 5 back from a picture, as a scanner would: one row of pixels, run
// lengths split into narrow and wide at their midpoint, quiet zones, start and stop.

#include <QImage>
#include <QString>

namespace zul::prueba {

struct Lectura {
    QString digitos;        // "" when the row does not read
    QString error;          // why not
    double proporcion = 0;  // wide : narrow measured
};

Lectura LeerI2of5(const QImage& imagen, int fila);
// The first row of the picture that reads.
Lectura BuscarI2of5(const QImage& imagen);

}  // namespace zul::prueba
