#pragma once
// F2 of the maintenance windows: shows the pick list over `sqlConsulta` and copies the fields of
// the chosen row into the caller's boxes.

#include <QList>
#include <QString>

#include "lookup/ModConsu.h"

namespace zul {

// `encabezados`: the captions of the first `columnas` fields, joined by "/". Up to seven pairs
// (field, box); a box is written only when its field comes back with a value. `sqlFiltro`, when
// given, narrows the first load only.
void Consultar(const QString& sqlConsulta, const QString& campoBusqueda, const QString& titulo,
               const QString& encabezados, int columnas, const QList<ParConsulta>& pares,
               int modoBusqueda = 0, QString sqlFiltro = QString());

}  // namespace zul
