#include "masterdata/frmPrestamos.h"

#include <QLineEdit>
#include <QPushButton>

#include "common/Formato.h"
#include "common/Globales.h"
#include "common/Moneda.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"

namespace zul {
namespace {

const QList<CajaMantenimiento> kCajas = {
    {frmPrestamos::kNumero, QStringLiteral("Número:"), QString(), 1200, kCajaClave | kCajaNumero},
    {frmPrestamos::kEmpleado, QStringLiteral("Empleado:"), QString(), 1200,
     kCajaParteClave | kCajaNumero},
    {frmPrestamos::kNombre, QString(), QString(), 7500, kCajaMuestra | kCajaAlLado},
    {frmPrestamos::kImporte, QStringLiteral("Importe:"), QString(), 2000},
    {frmPrestamos::kCuotas, QStringLiteral("Cant.Cuotas:"), QString(), 800},
    {frmPrestamos::kFecha, QStringLiteral("Fecha:"), QStringLiteral(",8"), 1500},
    {frmPrestamos::kVencimiento1, QStringLiteral("Fecha 1º Vencimiento:"), QStringLiteral(",8"),
     1500},
};

}  // namespace

frmPrestamos::frmPrestamos(QWidget* parent)
    : Mantenimiento(QStringLiteral("frmPrestamos"), QStringLiteral("Préstamos"), kCajas, parent) {
    // The name only shows who the number is: Enter and Tab pass it by.
    texto(kNombre)->setFocusPolicy(Qt::ClickFocus);
}

std::optional<ConsultaCaja> frmPrestamos::ConsultaDe(int caja) const {
    if (caja == kNumero)
        return ConsultaCaja{ConsultaPrestamos(IdEmpresa),
                            QStringLiteral("pre_idEmpleado"),
                            QStringLiteral("Consulta de Préstamos"),
                            QStringLiteral("Préstamo/Cuenta/Nombre/Importe"),
                            4,
                            {{QStringLiteral("pre_id"), kNumero}}};
    if (caja == kEmpleado)
        return ConsultaCaja{ConsultaEmpleados(IdEmpresa),
                            QStringLiteral("ado_nombre"),
                            QStringLiteral("Consulta de Empleados"),
                            QStringLiteral("Cuenta/Nombre"),
                            2,
                            {{QStringLiteral("Ado_id"), kEmpleado}}};
    return std::nullopt;
}

bool frmPrestamos::ValidarCaja(int indice) {
    if (indice == kEmpleado) {
        ValidarEmpleado();
        return true;
    }
    if (indice == kImporte) texto(kImporte)->setText(ImporteLeido(texto(kImporte)->text()));
    return Mantenimiento::ValidarCaja(indice);
}

QString frmPrestamos::ConsultaClave() const {
    // An empty or unreadable number finds nothing: a new loan.
    return SqlBuscarPrestamo(texto(kNumero)->text(), IdEmpresa);
}

void frmPrestamos::MostrarRegistro(const Recordset& rs) {
    texto(kNumero)->setText(FormatoNulo(rs.value(QStringLiteral("pre_Id")), 1));
    texto(kEmpleado)->setText(FormatoNulo(rs.value(QStringLiteral("pre_idEmpleado")), 1));
    texto(kImporte)->setText(FormatoNulo(rs.value(QStringLiteral("pre_importe")), 1));
    texto(kCuotas)->setText(FormatoNulo(rs.value(QStringLiteral("pre_cuotas")), 1));
    texto(kFecha)->setText(FormatoNulo(rs.value(QStringLiteral("pre_Fecha")), 4));
    texto(kVencimiento1)->setText(FormatoNulo(rs.value(QStringLiteral("pre_Fechaven1")), 4));
    AplicarBloqueo();
    ValidarEmpleado();
}

bool frmPrestamos::AlNoExistir() {
    // A new loan is never declared yet, whatever the loan shown before.
    Bloquear(false);
    return Mantenimiento::AlNoExistir();
}

void frmPrestamos::AplicarBloqueo() {
    const std::optional<QDate> vencimiento = LeerFecha(texto(kVencimiento1)->text());
    if (!vencimiento) {
        Bloquear(false);
        MsgBox(QStringLiteral("El préstamo no tiene una fecha de primer vencimiento válida: no se "
                              "puede saber si ya fue declarado."),
               vbExclamation, QStringLiteral("Mensaje"));
        return;
    }
    try {
        Database& db = Database::open(RutaBase);
        Bloquear(PrestamoDeclarado(db, static_cast<qint64>(LeerNumero(texto(kEmpleado)->text())),
                                   *vencimiento, IdEmpresa));
    } catch (const DatabaseError& e) {
        // Unchecked, the loan is only shown: a declared month is never rewritten by mistake.
        Bloquear(true);
        MostrarError(e);
    }
}

void frmPrestamos::Bloquear(bool bloqueado) {
    btnGrabar()->setEnabled(!bloqueado);
    btnEliminar()->setEnabled(!bloqueado);
}

void frmPrestamos::ValidarEmpleado() {
    // An empty box names no employee: the save asks for one.
    if (texto(kEmpleado)->text().isEmpty()) {
        MostrarNombre({});
        return;
    }
    try {
        Recordset rs = Database::open(RutaBase).openRecordset(
            SqlBuscarEmpleado(texto(kEmpleado)->text(), IdEmpresa));
        if (rs.vacio()) {
            MsgBox(QStringLiteral("El Empleado no existe"));
            MostrarNombre({});
            texto(kEmpleado)->clear();
        } else {
            MostrarNombre(FormatoNulo(rs.value(QStringLiteral("ado_nombre")), 3));
        }
    } catch (const DatabaseError& e) {
        MostrarError(e);
    }
}

void frmPrestamos::MostrarNombre(const QString& nombre) {
    // A name longer than the box shows whole in the tip.
    texto(kNombre)->setText(nombre);
    texto(kNombre)->setToolTip(nombre);
}

QList<Requerido> frmPrestamos::Requeridos() const {
    const auto esFecha = [](const QString& t) { return EsFecha(t); };
    return {
        {kEmpleado, QStringLiteral("Debe ingresar el empleado")},
        ImporteEnRango(kImporte),
        {kImporte, QStringLiteral("Debe ingresar el importe"),
         [](const QString& t) { return ImportePrestamo(t).has_value(); }},
        {kCuotas, QStringLiteral("Debe ingresar la cantidad de cuotas"),
         [](const QString& t) { return CantidadCuotas(t).has_value(); }},
        {kFecha, QStringLiteral("Debe ingresar la fecha"), esFecha},
        {kVencimiento1, QStringLiteral("Debe ingresar la fecha del primer vencimiento"), esFecha},
    };
}

qint64 frmPrestamos::Numero() const {
    return static_cast<qint64>(LeerNumero(texto(kNumero)->text()));
}

std::optional<Rechazo> frmPrestamos::ComprobarAlGrabar(Database& db) {
    // A loan of an employee deleted since it was chosen would be collected from nobody.
    const QString empleado = texto(kEmpleado)->text();
    if (!db.openRecordset(SqlBuscarEmpleado(empleado, IdEmpresa)).vacio()) return MesDeclarado(db);
    return Rechazo{QStringLiteral("El empleado ") + empleado +
                       QStringLiteral(" ya no existe: se eliminó (en otra ventana o en otra copia "
                                      "del programa) después de elegirlo. Elija otro empleado y "
                                      "vuelva a grabar. No se realizó ningún cambio."),
                   QString(), kEmpleado};
}

std::optional<Rechazo> frmPrestamos::MesDeclarado(Database& db) {
    // An edit rewrites every instalment: neither those stored nor those typed may fall in a
    // declared month.
    if (Modo != 1) return std::nullopt;
    if (std::optional<Rechazo> r = RechazoPorDependientes(db)) return r;
    const QDate vencimiento = *LeerFecha(texto(kVencimiento1)->text());
    if (!PrestamoDeclarado(db, static_cast<qint64>(LeerNumero(texto(kEmpleado)->text())),
                           vencimiento, IdEmpresa))
        return std::nullopt;
    return Rechazo{QStringLiteral("Una declaración jurada grabada incluye al empleado ") +
                       texto(kEmpleado)->text() +
                       QStringLiteral(" en el mes del primer vencimiento (") +
                       vencimiento.toString(QStringLiteral("MM/yyyy")) +
                       QStringLiteral("): las cuotas de un mes declarado no se pueden cambiar. "
                                      "Corrija el empleado o la fecha del primer vencimiento, o "
                                      "presione Cancelar. No se realizó ningún cambio."),
                   QString(), kVencimiento1};
}

bool frmPrestamos::Grabar(Database& db) {
    // Every box was checked by Requeridos: each is read once here, for the loan and its
    // instalments alike.
    Prestamo p;
    p.numero = Modo == 1 ? Numero() : 0;
    p.empleado = static_cast<qint64>(LeerNumero(texto(kEmpleado)->text()));
    p.importe = *ImportePrestamo(texto(kImporte)->text());
    p.cuotas = *CantidadCuotas(texto(kCuotas)->text());
    p.fecha = *LeerFecha(texto(kFecha)->text());
    p.vencimiento1 = *LeerFecha(texto(kVencimiento1)->text());
    const std::optional<qint64> numero = GrabarPrestamo(db, p, IdEmpresa);
    if (!numero) return false;
    texto(kNumero)->setText(QString::number(*numero));
    return true;
}

QString frmPrestamos::MensajeGrabado() const {
    return Mantenimiento::MensajeGrabado() + QStringLiteral("\nPréstamo Nº: ") +
           texto(kNumero)->text();
}

std::optional<QString> frmPrestamos::TituloGrabado() const {
    return QStringLiteral("Mensaje");
}

QString frmPrestamos::ConsultaDependientes() const {
    return SqlPrestamoGuardadoDeclarado(Numero(), IdEmpresa);
}

QString frmPrestamos::MensajeDependientes() const {
    return QStringLiteral(
        "El préstamo ya fue declarado: una declaración jurada grabada después de cargarlo (en "
        "otra ventana o en otra copia del programa) incluye a su empleado en el mes de la primera "
        "cuota, y un préstamo declarado solo se puede consultar. Presione Cancelar. No se realizó "
        "ningún cambio.");
}

QStringList frmPrestamos::SentenciasEliminar() const {
    return SentenciasEliminarPrestamo(Numero(), IdEmpresa);
}

void frmPrestamos::Limpiar() {
    MostrarNombre({});
    Bloquear(false);
}

}  // namespace zul
