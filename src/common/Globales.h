#pragma once
// Process-wide values fixed at start-up or by the company selection.

#include <QString>
#include <QtGlobal>

namespace zul {

extern QString RutaBase;          // full path of ZUL.mdb
extern QString CarpetaPrograma;   // the program folder: database, report files, exports
extern QString NombreEquipo;      // this computer's name, key of table impresoras
extern qint32 IdEmpresa;          // the current company, 0 = none

}  // namespace zul
