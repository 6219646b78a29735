#include "lookup/ModConsu.h"

#include <QApplication>
#include <QMetaProperty>
#include <QWidget>

#include "common/Formato.h"
#include "lookup/NueCons.h"

namespace zul {

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
    for (int k = 0; k < 7 && k < pares.size(); ++k) {
        QWidget* control = pares[k].control;
        if (dialogo.Resultado[k].isEmpty() || !control) continue;
        // The box's own value property (a text box's text).
        const QMetaProperty valor = control->metaObject()->userProperty();
        if (valor.isValid()) valor.write(control, dialogo.Resultado[k]);
    }
}

}  // namespace zul
