#pragma once
// Filter conditions of one field, from its "from", "to" and "only" values, appended to a
// growing filter: SQL conditions for a WHERE clause, or the report engine's selection formula
// ({table.field}). Can also append a printable line describing the filter.

#include <QString>

namespace zul {

// Kinds of field; any other value adds no condition (its description line is still written).
enum TipoFiltro {
    filtroNumero = 1,
    filtroTexto = 3,
    filtroFecha = 4,
    filtroHora = 5,
    filtroFechaTexto = 6  // a date written as its text, without delimiters
};

// Conditions are appended in the order desde, hasta, solo, joined with " and ". A value that
// does not qualify (not a number, empty text, not a date or time) adds none. For the date
// kinds the bounds go through ArmarFecha first: "2024" as hasta means 31/12/2024.
void ArmarFiltro(const QString& tabla, const QString& campo, int tipoSQL, QString& filtro,
                 bool modoSQL, QString desde, QString hasta, QString solo, bool describir,
                 bool porNombre, QString& descripcion, const QString& titulo);

}  // namespace zul
