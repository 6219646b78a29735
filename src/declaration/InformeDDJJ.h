#pragma once
// Printing and mailing a saved declaration through the report files named in the firm's row
// (emp_rptDJ1, "DDJJ.rpt" when empty; emp_rptDJ2 after it when named), and the data those
// report files read.
//
// The declaration window calls, from its handlers:
//
//     void frmDecJurada::btnImprimir_Click() { ImprimirDDJJ(IdDDJJ, this); }
//     void frmDecJurada::btnEMail_Click() {
//         EnviarDDJJ(IdDDJJ, texto(0)->text(), mskPeriodo->displayText(), texto(20), this);
//     }
//
// Both use the window's report control (its child "rpt1", ReportControl::de; tests send its
// prints to a PDF with ReportControl::de(ventana)->setPdfOutput(ruta)), show their own
// messages (MsgBox) and keep the hourglass on the window while they work, restored on every
// path. Both refuse a declaration not yet saved (idDDJJ 0) with a message. Every failure ends
// the handler with one "Error Nro.:" message; nothing after the failed step runs.

#include <QString>

#include "platform/ReportControl.h"

class QLineEdit;
class QWidget;

namespace zul {

// "{DDJJ.DDJJ_Id}=7 and  {DDJJ.ddjj_IdEmpresa}= 3": the declaration the reports select.
QString FormulaDDJJ(qint32 idDDJJ, qint32 idEmpresa);

// The data of the declaration a formula selects, for the report templates: "empresa",
// "ddjj" (every total, period, due date, registration number, bar code digits), "empleados"
// and "bajas" (lists) with "hayEmpleados"/"hayBajas", "hayCodigo", and the image "barras"
// with its display width "barrasAncho". Throws ReportError when the formula names no stored
// declaration, DatabaseError on a failing query or a damaged declaration (DDJJDanada).
DatosInforme DatosDDJJ(const Seleccion& seleccion);

// The export file for a company and a period "mm/yyyy": CarpetaPrograma + "/DJ_" + name + "_"
// + mm + "-" + yyyy + ".rtf", with any "/" of the name made "_"; "" when the period is invalid.
QString ArchivoExportDDJJ(const QString& razonSocial, const QString& periodo);

// Prints declaration idDDJJ of the current company (IdEmpresa) on the printer of role 3, each
// report file of the firm's row in turn. Returns true when every report was printed.
bool ImprimirDDJJ(qint32 idDDJJ, QWidget* ventana);

// Exports the report files of declaration idDDJJ into one RTF file (ArchivoExportDDJJ; a
// second report follows the first on a new page) and mails it to the firm's destination
// address (emp_emaild), which is also written into `destinoEmail` (the window's "Destino
// E-Mail:" box). Subject: "DJ_" + razonSocial + "_" + periodo as shown. Returns true when the
// message was handed to the mail transport.
bool EnviarDDJJ(qint32 idDDJJ, const QString& razonSocial, const QString& periodo,
                QLineEdit* destinoEmail, QWidget* ventana);

}  // namespace zul
