#pragma once
// The four printer roles of this computer (table impresoras) and how a report gets its printer.
// A role holds a printer's name as the system lists it, or "" for the system's default printer.

#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>

namespace zul {

class ReportControl;

extern QString ImpresoraTicket;    // role 0, imp_ticket
extern QString ImpresoraFacturaA;  // role 1, imp_factua
extern QString ImpresoraFacturaB;  // role 2, imp_factub
extern QString ImpresoraOtros;     // role 3, imp_otros

struct ImpresoraInstalada {
    QString nombre;
    QString driver;
    QString puerto;
};

// The installed printers, in the system's order (QPrinterInfo unless a list was injected).
QList<ImpresoraInstalada> ImpresorasInstaladas();
// Replaces the system's list (tests); an empty function goes back to QPrinterInfo.
void setListaImpresoras(std::function<QList<ImpresoraInstalada>()> lista);

// Loads this computer's row (NombreEquipo); no row, or any failure, keeps the values as they are.
void LeerImpresoras();

// Gives the report the printer of role `tipo` (0..3) and makes it the application's current
// printer. With no installed printer of that name the report goes back to the default printer.
void SeleccionarImpresora(ReportControl& reporte, quint8 tipo);

// The application's current printer ("" = the system's default).
QString ImpresoraActual();

}  // namespace zul
