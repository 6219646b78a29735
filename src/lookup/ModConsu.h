#pragma once
// The procedures that prepare the period lookup, show it and copy the chosen row back into the
// caller's boxes.

#include <QList>
#include <QString>

class QWidget;

namespace zul {

// A field of the lookup's query and the caller's box that receives its value.
struct ParConsulta {
    QString campo;
    QWidget* control = nullptr;
};

// Captions come separated by "/"; `columnas` is kept for the callers' sake (the grid shows
// every field of the query). Up to seven pairs; a box is written only with a non-empty value.
void NuevaConsulta(const QString& sqlConsulta, const QString& campoBusqueda, const QString& titulo,
                   QString encabezados, int columnas, const QList<ParConsulta>& pares,
                   int modoBusqueda = 0);
// Same, with the captions already separated by "|".
void CargarNueCons(const QString& sqlConsulta, const QString& campoBusqueda, const QString& titulo,
                   const QString& encabezados, const QList<ParConsulta>& pares, int modoBusqueda);

}  // namespace zul
