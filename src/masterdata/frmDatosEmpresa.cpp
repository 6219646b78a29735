#include "masterdata/frmDatosEmpresa.h"

#include <QLineEdit>
#include <QPushButton>

#include "common/Cuit.h"
#include "common/Formato.h"
#include "common/Globales.h"
#include "platform/Database.h"

namespace zul {
namespace {

constexpr int kAncho = 7500;  // twips: every box alike
// The declaration report shipped beside the program, the one printing falls back on.
const QString kReporteDJPorOmision = QStringLiteral("DDJJ.rpt");

// Each box as a quoted text: nothing typed is stored as the empty text, never Null.
QStringList Literales(const QStringList& valores) {
    QStringList l;
    for (const QString& v : valores) l << FormatoSQL(v, 3);
    return l;
}

}  // namespace

frmDatosEmpresa::frmDatosEmpresa(QWidget* parent)
    : Mantenimiento(
          QStringLiteral("frmDatosEmpresa"), QStringLiteral("Datos Estudio Contable"),
          {{kNombre, QStringLiteral("Razón Social:"), QString(), kAncho},
           {kDomicilio, QStringLiteral("Domicilio:"), QString(), kAncho},
           {kLocalidad, QStringLiteral("Localidad:"), QString(), kAncho},
           {kCuit, QStringLiteral("C.U.I.T Nº:"), QString(), kAncho},
           {kTelefono, QStringLiteral("Teléfono:"), QString(), kAncho},
           {kReporteDJ, QStringLiteral("Reporte DJ:"), QString(), kAncho, kCajaMuestra},
           {kReporteCupon, QStringLiteral("Reporte Cupón:"), QString(), kAncho, kCajaMuestra},
           {kEmailDestino, QStringLiteral("E-Mail Destino:"), QString(), kAncho}},
          parent) {
    // The firm's row is never deleted, and there is no other record to clear to.
    btnEliminar()->hide();
    btnCancelar()->hide();
}

QString frmDatosEmpresa::AltaEstudio(const QStringList& valores) {
    return QStringLiteral(
               "insert into Empresa(Emp_Id,Emp_Nombre,Emp_Domicilio, Emp_Localidad,Emp_CUIT,"
               "Emp_Telefono,emp_rptDJ1,emp_rptDJ2,emp_emaild) values(0, ") +
           Literales(valores).join(u',') + u')';
}

QString frmDatosEmpresa::ModificacionEstudio(const QStringList& valores) {
    static const char* const kColumnas[kCantidadCajas] = {"update empresa set emp_nombre= ",
                                                          ",emp_domicilio= ",
                                                          ",emp_Localidad= ",
                                                          ",emp_CUIT=",
                                                          ",emp_telefono=",
                                                          ",emp_rptDJ1=",
                                                          ",emp_rptDJ2=",
                                                          ",emp_emaild="};
    const QStringList l = Literales(valores);
    QString sql;
    for (int i = 0; i < kCantidadCajas; ++i) sql += QLatin1String(kColumnas[i]) + l.value(i);
    return sql + QStringLiteral(" where emp_id=0");
}

QString frmDatosEmpresa::ConsultaClave() const {
    return QStringLiteral("SELECT * FROM Empresa  where emp_id=0");
}

void frmDatosEmpresa::MostrarRegistro(const Recordset& rs) {
    static const char* const kCampos[kCantidadCajas] = {
        "Emp_Nombre",   "Emp_Domicilio", "Emp_Localidad", "Emp_CUIT",
        "Emp_Telefono", "emp_rptDJ1",    "emp_rptDJ2",    "emp_emaild"};
    for (int i = 0; i < kCantidadCajas; ++i)
        texto(i)->setText(FormatoNulo(rs.value(QLatin1String(kCampos[i])), 3));
}

void frmDatosEmpresa::AlCargar() {
    // The firm's row is loaded as any record is, so that a save writes over it only as loaded.
    ValidarClave();
    // The user cannot type a report name: without one stored, the shipped report is proposed so
    // that the firm's data can be saved at all.
    if (texto(kReporteDJ)->text().isEmpty()) texto(kReporteDJ)->setText(kReporteDJPorOmision);
}

QString frmDatosEmpresa::ComoVolverACargar() const {
    return QStringLiteral("Cierre la ventana y vuelva a abrirla.");
}

bool frmDatosEmpresa::ValidarCaja(int indice) {
    return indice == kCuit ? ComprobarCajaCuit(texto(kCuit)) : Mantenimiento::ValidarCaja(indice);
}

QList<Requerido> frmDatosEmpresa::Requeridos() const {
    return {{kReporteDJ,
             QStringLiteral("Debe ingresar el nombre del reporte de la declaración jurada")}};
}

QStringList frmDatosEmpresa::Valores() const {
    QStringList v;
    for (int i = 0; i < kCantidadCajas; ++i) v << texto(i)->text();
    return v;
}

bool frmDatosEmpresa::Grabar(Database& db) {
    return db.execute(Modo == 2 ? AltaEstudio(Valores()) : ModificacionEstudio(Valores())) > 0;
}

void frmDatosEmpresa::DespuesDeGrabar() {
    btnSalir_Click();
}

}  // namespace zul
