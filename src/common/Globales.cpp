#include "common/Globales.h"

namespace zul {

QString RutaBase;
QString CarpetaPrograma;
QString NombreEquipo;
qint32 IdEmpresa = 0;

}  // namespace zul
