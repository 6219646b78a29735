#pragma once
// What the two lookup dialogs share: the type classes of a query's fields, reading its rows,
// the text of a cell, and copying the chosen row back into the caller's boxes; and the
// procedures that prepare the period lookup and show it.

#include <QList>
#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <vector>

class QWidget;

namespace zul {

// Field type classes of the search, with the codes the search rules are written in:
// 3 integer, 5 double, 11 yes/no, 135 date and time, 202 text.
enum TipoCampoConsulta { tcEntero = 3, tcDoble = 5, tcSiNo = 11, tcFecha = 135, tcTexto = 202 };

// Class of a result field: from its declared type, else from the values it holds, else the
// class it had in the previous load.
int ClaseDeCampo(const QString& declarado, const QVariant& muestra, int anterior);
// A cell's text: dates day/month/year, numbers with ",", Null empty.
QString TextoCelda(const QVariant& valor, int clase);

// The rows of a lookup's query, with the names and type classes of its fields.
struct FilasConsulta {
    QStringList campos;
    QList<int> tipos;
    std::vector<std::vector<QVariant>> filas;
    int indice(const QString& campo) const;  // -1 when absent; case does not matter
};
// Reads `sql`; `claseAnterior` gives the class a field had before (0 unknown). Throws
// DatabaseError when the engine refuses the query.
FilasConsulta LeerFilas(const QString& sql,
                        const std::function<int(const QString&)>& claseAnterior);

// A field of the lookup's query and the caller's box that receives its value.
struct ParConsulta {
    QString campo;
    QWidget* control = nullptr;
};
using Resultados = std::array<QString, 7>;

// Writes each non-empty result into the value of its pair's box; the others stay as they were.
void CopiarResultados(const QList<ParConsulta>& pares, const Resultados& resultados);

// Captions come separated by "/"; `columnas` is kept for the callers' sake (the grid shows
// every field of the query). Up to seven pairs; a box is written only with a non-empty value.
void NuevaConsulta(const QString& sqlConsulta, const QString& campoBusqueda, const QString& titulo,
                   QString encabezados, int columnas, const QList<ParConsulta>& pares,
                   int modoBusqueda = 0);
// Same, with the captions already separated by "|".
void CargarNueCons(const QString& sqlConsulta, const QString& campoBusqueda, const QString& titulo,
                   const QString& encabezados, const QList<ParConsulta>& pares, int modoBusqueda);

}  // namespace zul
