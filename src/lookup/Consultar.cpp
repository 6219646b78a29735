#include "lookup/Consultar.h"

#include <QApplication>

#include "lookup/consulta.h"

namespace zul {

void Consultar(const QString& sqlConsulta, const QString& campoBusqueda, const QString& titulo,
               const QString& encabezados, int columnas, const QList<ParConsulta>& pares,
               int modoBusqueda, QString sqlFiltro) {
    if (!sqlFiltro.isEmpty())
        sqlFiltro =
            (sqlConsulta.toUpper().contains(QStringLiteral("WHERE")) ? " AND " : " WHERE ") +
            sqlFiltro;
    consulta dialogo(QApplication::activeWindow());
    dialogo.setWindowTitle(titulo);
    dialogo.PonerEncabezados(CortarEncabezados(encabezados, columnas));
    dialogo.SqlConsulta = sqlConsulta;
    dialogo.SqlFiltro = sqlFiltro;
    dialogo.ModoBusqueda = modoBusqueda;
    dialogo.CampoBusqueda = campoBusqueda;
    for (int k = 0; k < int(dialogo.Campo.size()) && k < pares.size(); ++k)
        dialogo.Campo[k] = pares[k].campo;
    dialogo.Columnas = columnas;
    dialogo.ejecutar();
    CopiarResultados(pares, dialogo.Resultado);
}

}  // namespace zul
