#pragma once
// Combo boxes filled from a table: the item shows a text column, the item data is the row's id.

#include <QString>

class QComboBox;

namespace zul {

// Appends one item per row of "select * from <Tabla> <Filtro>" whose text and id are not
// Null: the text of CampoTexto, or CampoTexto2 + " - " + CampoTexto when CampoTexto2 is
// given; the id goes into the item data as a 32-bit integer. The combo is not emptied first.
// A non-empty Filtro becomes " where " + Filtro (the caller's variable too).
// Database errors propagate as DatabaseError.
void LlenarCombo(QComboBox* Combo, const QString& Tabla, const QString& CampoId,
                 const QString& CampoTexto, QString& Filtro, const QString& CampoTexto2 = {});
void LlenarCombo(QComboBox* Combo, const QString& Tabla, const QString& CampoId,
                 const QString& CampoTexto, const QString& Filtro = {},
                 const QString& CampoTexto2 = {});

// Selects the first item whose data equals Valor read as a number; no match (or a Valor that
// is not a number) leaves the selection as it was.
void PosicionarCombo(QComboBox* Combo, const QString& Valor);

}  // namespace zul
