#include "common/Impresoras.h"

#include <QPrinterInfo>

#include "common/Formato.h"
#include "common/Globales.h"
#include "platform/Database.h"
#include "platform/ReportControl.h"

namespace zul {

QString ImpresoraTicket;
QString ImpresoraFacturaA;
QString ImpresoraFacturaB;
QString ImpresoraOtros;

namespace {

std::function<QList<ImpresoraInstalada>()>& listaInyectada() {
    static std::function<QList<ImpresoraInstalada>()> lista;
    return lista;
}

QString& impresoraActual() {
    static QString nombre;
    return nombre;
}

}  // namespace

QList<ImpresoraInstalada> ImpresorasInstaladas() {
    if (listaInyectada()) return listaInyectada()();
    QList<ImpresoraInstalada> lista;
    const auto impresoras = QPrinterInfo::availablePrinters();
    // Driver and port mean nothing here; the name is what identifies a printer.
    for (const QPrinterInfo& info : impresoras)
        lista.append({info.printerName(), info.makeAndModel(), QString()});
    return lista;
}

void setListaImpresoras(std::function<QList<ImpresoraInstalada>()> lista) {
    listaInyectada() = std::move(lista);
}

void LeerImpresoras() {
    try {
        Database& db = Database::open(RutaBase);
        Recordset rs = db.openRecordset("SELECT * FROM impresoras WHERE imp_equipo=" +
                                        FormatoSQL(NombreEquipo, 3));
        if (rs.recordCount() > 0) {
            ImpresoraTicket = FormatoNulo(rs.value("imp_ticket"), 3);
            ImpresoraFacturaA = FormatoNulo(rs.value("imp_factua"), 3);
            ImpresoraFacturaB = FormatoNulo(rs.value("imp_factub"), 3);
            ImpresoraOtros = FormatoNulo(rs.value("imp_otros"), 3);
        }
    } catch (const DatabaseError&) {
        // No database or no table: the roles keep what they had, nothing to tell the user.
    }
}

void SeleccionarImpresora(ReportControl& reporte, quint8 tipo) {
    QString nombre;
    switch (tipo) {
        case 0:
            nombre = ImpresoraTicket;
            break;
        case 1:
            nombre = ImpresoraFacturaA;
            break;
        case 2:
            nombre = ImpresoraFacturaB;
            break;
        case 3:
            nombre = ImpresoraOtros;
            break;
        default:
            break;
    }
    if (!nombre.isEmpty()) {
        const auto impresoras = ImpresorasInstaladas();
        for (const ImpresoraInstalada& imp : impresoras) {
            if (imp.nombre == nombre) {
                impresoraActual() = imp.nombre;
                reporte.setPrinterDriver(imp.driver);
                reporte.setPrinterName(imp.nombre);
                reporte.setPrinterPort(imp.puerto);
                return;
            }
        }
    }
    // No such printer (or the default chosen): a printer picked by an earlier call must not
    // stay on the report.
    impresoraActual().clear();
    reporte.setPrinterDriver(QString());
    reporte.setPrinterName(QString());
    reporte.setPrinterPort(QString());
}

QString ImpresoraActual() {
    return impresoraActual();
}

}  // namespace zul
