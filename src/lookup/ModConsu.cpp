#include "lookup/ModConsu.h"

#include <QApplication>
#include <QLineEdit>
#include <QMetaProperty>
#include <QWidget>

#include "common/Formato.h"
#include "common/Globales.h"
#include "common/Teclado.h"
#include "lookup/NueCons.h"
#include "platform/Database.h"

namespace zul {

int ClaseDeCampo(const QString& declarado, const QVariant& muestra, int anterior) {
    const QString t = declarado.toUpper();
    if (t.contains("INT")) return tcEntero;
    if (t.contains("REAL") || t.contains("DOUB") || t.contains("FLOA") || t.contains("NUM") ||
        t.contains("DEC") || t.contains("MONEY") || t.contains("CURR"))
        return tcDoble;
    if (t.contains("DATE") || t.contains("TIME")) return tcFecha;
    if (t.contains("BOOL") || t.contains("BIT")) return tcSiNo;
    if (t.contains("CHAR") || t.contains("TEXT") || t.contains("CLOB")) return tcTexto;
    switch (muestra.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
            return tcEntero;
        case QMetaType::Double:
            return tcDoble;
        case QMetaType::QString:
            return tcTexto;
        default:
            return anterior ? anterior : tcTexto;
    }
}

QString TextoCelda(const QVariant& v, int clase) {
    if (clase == tcFecha && EsFecha(v)) return FormatoNulo(v, 4);
    return TextoValor(v);
}

int FilasConsulta::indice(const QString& campo) const {
    for (int i = 0; i < campos.size(); ++i)
        if (campos[i].compare(campo, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

FilasConsulta LeerFilas(const QString& sql,
                        const std::function<int(const QString&)>& claseAnterior) {
    FilasConsulta r;
    Recordset rs = Database::open(RutaBase).openRecordset(sql);
    for (int i = 0; i < rs.fieldCount(); ++i) {
        r.campos << rs.fieldName(i);
        r.tipos << ClaseDeCampo(rs.fieldType(i), rs.eof() ? QVariant() : rs.value(i),
                                claseAnterior(rs.fieldName(i)));
    }
    r.filas = rs.tomarFilas();
    return r;
}

void CopiarResultados(const QList<ParConsulta>& pares, const Resultados& resultados) {
    for (int k = 0; k < int(resultados.size()) && k < pares.size(); ++k) {
        QWidget* control = pares[k].control;
        if (resultados[k].isEmpty() || !control) continue;
        // A stored value arrives whole, whatever a user may type into the box.
        const TextosEnteros entero({qobject_cast<QLineEdit*>(control)});
        // The box's own value property (a text box's text).
        const QMetaProperty valor = control->metaObject()->userProperty();
        if (valor.isValid()) valor.write(control, resultados[k]);
    }
}

void NuevaConsulta(const QString& sqlConsulta, const QString& campoBusqueda, const QString& titulo,
                   QString encabezados, int columnas, const QList<ParConsulta>& pares,
                   int modoBusqueda) {
    (void)columnas;
    encabezados = ReemplazarStr(encabezados, "/", "|", 1);
    CargarNueCons(sqlConsulta, campoBusqueda, titulo, encabezados, pares, modoBusqueda);
}

void CargarNueCons(const QString& sqlConsulta, const QString& campoBusqueda, const QString& titulo,
                   const QString& encabezados, const QList<ParConsulta>& pares, int modoBusqueda) {
    NueCons dialogo(QApplication::activeWindow());
    dialogo.setWindowTitle(titulo);
    dialogo.PrepararColumnas(encabezados);
    dialogo.SqlConsulta = sqlConsulta;
    dialogo.CampoBusqueda = campoBusqueda;
    for (int k = 0; k < 7 && k < pares.size(); ++k) dialogo.Campo[k] = pares[k].campo;
    dialogo.ModoBusqueda = modoBusqueda;
    dialogo.ejecutar();
    CopiarResultados(pares, dialogo.Resultado);
}

}  // namespace zul
