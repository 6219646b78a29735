#include "masterdata/Prestamos.h"

#include <QStringList>
#include <cmath>

#include "common/Formato.h"
#include "platform/Database.h"

namespace zul {
namespace {

QString Numero(qint64 n) {
    return FormatoSQL(n, 1);
}

QString Empresa(qint32 idEmpresa) {
    return QString::number(idEmpresa);
}

}  // namespace

std::optional<Moneda> ImportePrestamo(const QString& texto) {
    const std::optional<Moneda> m = Moneda::desdeImporte(texto);
    if (!m || *m <= Moneda()) return std::nullopt;
    return m;
}

std::optional<int> CantidadCuotas(const QString& texto) {
    if (!EsNumero(texto)) return std::nullopt;
    const double n = LeerNumero(texto);
    if (n != std::floor(n) || n < 1 || n > kMaxCuotas) return std::nullopt;
    return static_cast<int>(n);
}

std::vector<CuotaPrestamo> CuotasPrestamo(const Prestamo& p) {
    std::vector<CuotaPrestamo> cuotas;
    if (p.cuotas < 1) return cuotas;
    // Whole cents of total / count, worked out exactly on the ten-thousandths.
    const qint64 centavos = DividirRedondeoPar(p.importe.diezmilesimos(), qint64(p.cuotas) * 100);
    const Moneda importe = Moneda::desdeDiezmilesimos(centavos * 100);
    cuotas.reserve(p.cuotas);
    for (int i = 1; i <= p.cuotas; ++i)
        cuotas.push_back({i, importe, p.vencimiento1.addMonths(i - 1)});
    return cuotas;
}

QString ConsultaPrestamos(qint32 idEmpresa) {
    return QStringLiteral(
               "SELECT pre_id,pre_idEmpleado ,ado_nombre,pre_importe FROM prestamo, "
               "Empleado where pre_idEmpleado=ado_id and "
               "pre_IdEmpresa=ado_idempresa and pre_IdEmpresa=") +
           Empresa(idEmpresa);
}

QString ConsultaEmpleados(qint32 idEmpresa) {
    return QStringLiteral("SELECT Ado_id,ado_nombre FROM Empleado  where ado_IdEmpresa=") +
           Empresa(idEmpresa);
}

QString SqlBuscarPrestamo(const QString& numero, qint32 idEmpresa) {
    return QStringLiteral("SELECT * FROM prestamo where pre_Id=") + FormatoSQL(numero, 1) +
           QStringLiteral(" and pre_IdEmpresa=") + Empresa(idEmpresa);
}

QString SqlBuscarEmpleado(const QString& empleado, qint32 idEmpresa) {
    return QStringLiteral("SELECT * FROM Empleado where Ado_Id=") + FormatoSQL(empleado, 1) +
           QStringLiteral(" and ado_IdEmpresa=") + Empresa(idEmpresa);
}

QString SqlPrestamoDeclarado(qint64 empleado, const QDate& vencimiento1, qint32 idEmpresa) {
    return QStringLiteral(
               "SELECT * FROM EmpleadoXDDJJ,ddjj where ddjj_id=exd_idddjj and "
               "ExD_IdEmpleado=") +
           Numero(empleado) + QStringLiteral(" and ExD_IDEmpresa=") + Empresa(idEmpresa) +
           QStringLiteral(" and month(ddjj_periodo)=") + Numero(vencimiento1.month()) +
           QStringLiteral(" and year(ddjj_periodo)=") + Numero(vencimiento1.year());
}

QString SqlPrestamoGuardadoDeclarado(qint64 numero, qint32 idEmpresa) {
    return QStringLiteral(
               "SELECT * FROM prestamo, EmpleadoXDDJJ, ddjj where ddjj_id=exd_idddjj and "
               "ExD_IdEmpleado=pre_idEmpleado and ExD_IDEmpresa=pre_IdEmpresa and "
               "month(ddjj_periodo)=month(pre_Fechaven1) and "
               "year(ddjj_periodo)=year(pre_Fechaven1) and pre_Id=") +
           Numero(numero) + QStringLiteral(" and pre_IdEmpresa=") + Empresa(idEmpresa);
}

QString SqlMaximoPrestamo(qint32 idEmpresa) {
    return QStringLiteral("SELECT max(pre_Id) as Max  FROM Prestamo  where pre_IdEmpresa=") +
           Empresa(idEmpresa);
}

QString SqlInsertarPrestamo(const Prestamo& p, qint32 idEmpresa) {
    const QStringList valores{
        Numero(p.numero),  Numero(p.empleado),     FormatoSQL(p.importe.aDouble(), 1),
        Numero(p.cuotas),  FormatoSQL(p.fecha, 4), FormatoSQL(p.vencimiento1, 4),
        Empresa(idEmpresa)};
    return QStringLiteral("insert into prestamo values(") + valores.join(QLatin1Char(',')) +
           QLatin1Char(')');
}

QString SqlActualizarPrestamo(const Prestamo& p, qint32 idEmpresa) {
    return QStringLiteral("update prestamo set pre_idEmpleado= ") + Numero(p.empleado) +
           QStringLiteral(",pre_importe=") + FormatoSQL(p.importe.aDouble(), 1) +
           QStringLiteral(",pre_cuotas=") + Numero(p.cuotas) + QStringLiteral(",pre_Fecha= ") +
           FormatoSQL(p.fecha, 4) + QStringLiteral(",pre_Fechaven1=") +
           FormatoSQL(p.vencimiento1, 4) + QStringLiteral(" where pre_Id= ") + Numero(p.numero) +
           QStringLiteral(" and pre_IdEmpresa=") + Empresa(idEmpresa);
}

QString SqlInsertarCuota(const Prestamo& p, const CuotaPrestamo& c, qint32 idEmpresa) {
    const QStringList valores{Numero(p.numero),
                              Numero(c.numero),
                              Numero(p.empleado),
                              FormatoSQL(c.importe.aDouble(), 1),
                              FormatoSQL(c.vencimiento, 4),
                              Empresa(idEmpresa)};
    return QStringLiteral("insert into prestamocuota values(") + valores.join(QLatin1Char(',')) +
           QLatin1Char(')');
}

QString SqlBorrarCuotas(qint64 numero, qint32 idEmpresa) {
    return QStringLiteral("delete from prestamocuota where pcu_idPrestamo=") + Numero(numero) +
           QStringLiteral(" and pcu_IdEmpresa=") + Empresa(idEmpresa);
}

QStringList SentenciasEliminarPrestamo(qint64 numero, qint32 idEmpresa) {
    return {SqlBorrarCuotas(numero, idEmpresa),
            QStringLiteral("delete from prestamo where pre_id=") + Numero(numero) +
                QStringLiteral(" and pre_IdEmpresa=") + Empresa(idEmpresa)};
}

qint64 ProximoPrestamo(Database& db, qint32 idEmpresa) {
    Recordset rs = db.openRecordset(SqlMaximoPrestamo(idEmpresa));
    if (rs.vacio()) return 1;
    return static_cast<qint64>(LeerNumero(rs.value(QStringLiteral("Max")))) + 1;
}

bool PrestamoDeclarado(Database& db, qint64 empleado, const QDate& vencimiento1, qint32 idEmpresa) {
    return db.openRecordset(SqlPrestamoDeclarado(empleado, vencimiento1, idEmpresa)).recordCount() >
           0;
}

std::optional<qint64> GrabarPrestamo(Database& db, const Prestamo& prestamo, qint32 idEmpresa) {
    Prestamo p = prestamo;
    Transaction t(db);
    if (p.numero == 0) {
        p.numero = ProximoPrestamo(db, idEmpresa);
        db.execute(SqlInsertarPrestamo(p, idEmpresa));
    } else {
        db.execute(SqlBorrarCuotas(p.numero, idEmpresa));
        // Deleted by another copy: its instalments must not come back without it.
        if (db.execute(SqlActualizarPrestamo(p, idEmpresa)) == 0) return std::nullopt;
    }
    for (const CuotaPrestamo& c : CuotasPrestamo(p)) db.execute(SqlInsertarCuota(p, c, idEmpresa));
    t.commit();
    return p.numero;
}

}  // namespace zul
