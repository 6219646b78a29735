#include "declaration/GrabarDDJJ.h"

#include <QDate>
#include <QSet>
#include <QStringList>
#include <cmath>
#include <limits>

#include "common/Formato.h"
#include "common/Globales.h"
#include "declaration/CodigoBarras.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"

namespace zul {

namespace {

const QString kNoSeGrabo = QStringLiteral("\nLa Declaración Jurada no se grabó.");

// A failure while writing the leavers is reported with its number, as it always was; the rest
// of the save reports the description alone.
struct FalloEnBajas {
    DatabaseError error;
};

ResultadoGrabar Rechazo(const QString& texto, int estilo, const std::optional<QString>& titulo,
                        const QString& foco = {}) {
    MsgBox(texto, estilo, titulo);
    return {ResultadoGrabar::Estado::Rechazada, 0, foco};
}

bool EsBaja(const BajaDDJJ& b) {
    return !b.codigo.isEmpty() && EsFecha(b.fechaEgreso);
}

QString Bandera(bool b) {
    return b ? QStringLiteral("1") : QStringLiteral("0");
}

void GrabarEmpleadosDDJJ(Database& db, const DDJJEnPantalla& d, const QString& id,
                         const QString& empresa) {
    for (const EmpleadoDDJJ& e : d.empleados) {
        if (e.codigo.isEmpty() || !EsNumero(e.codigo)) continue;
        const QStringList valores{id,
                                  FormatoSQL(e.codigo, 1),
                                  FormatoSQL(e.sueldo, 1),
                                  Bandera(e.aporte2),
                                  Bandera(e.aporteFarmacia),
                                  Bandera(e.aporteAmec),
                                  Bandera(e.cuotaSoc),
                                  FormatoSQL(e.idCatego, 1),
                                  Bandera(e.afiliado),
                                  FormatoSQL(e.prestamo, 1),
                                  empresa};
        db.execute(QStringLiteral("insert into EmpleadoXDDJJ (ExD_IdDDJJ, "
                                  "ExD_IdEmpleado,ExD_Sueldo, "
                                  "ExD_Aporte2,ExD_AporteFar,ExD_AporteAmec,ExD_Cuota,ExD_IdCatego,"
                                  "ExD_Afiliado,ExD_Prestamo,ExD_idempresa) values (") +
                   valores.join(QLatin1Char(',')) + QLatin1Char(')'));
    }
}

void GrabarBajas(Database& db, const DDJJEnPantalla& d, const QString& id, const QString& empresa) {
    try {
        for (const BajaDDJJ& b : d.bajas) {
            if (!EsBaja(b)) continue;
            const QStringList valores{id,
                                      FormatoSQL(b.codigo, 1),
                                      FormatoSQL(b.fechaEgreso, 4),
                                      FormatoSQL(b.sueldo, 1),
                                      FormatoSQL(b.idCatego, 1),
                                      empresa};
            db.execute(QStringLiteral("insert into Bajas (Baj_DDJJ, "
                                      "Baj_Empleado,Baj_FecEgreso,Baj_Sueldo,Baj_IdCatego,"
                                      "baj_idempresa) values (") +
                       valores.join(QLatin1Char(',')) + QLatin1Char(')'));
            db.execute(QStringLiteral("update empleado set Ado_FechaEgreso= ") +
                       FormatoSQL(b.fechaEgreso, 4) + QStringLiteral(" where ado_id=") +
                       FormatoSQL(b.codigo, 1) + QStringLiteral(" and ado_idempresa=") + empresa);
        }
    } catch (const DatabaseError& e) {
        throw FalloEnBajas{e};
    }
}

}  // namespace

ResultadoGrabar GrabarDDJJ(const DDJJEnPantalla& d) {
    // An unreadable due date or registration number would be stored as NULL, 0 or changed: the
    // clerk is told what is wrong with what was typed (the window asks for empty boxes).
    if (!EsFecha(d.vencimiento))
        return Rechazo(QStringLiteral("La fecha de vencimiento ingresada no es válida"), 48,
                       QString(), QStringLiteral("texto_14"));
    if (Entero32(d.nroInscripcion).value_or(0) <= 0)
        return Rechazo(QStringLiteral("El número de inscripción debe ser un número entero entre 1 "
                                      "y 2147483647"),
                       48, QString(), QStringLiteral("texto_15"));
    const QString p = QStringLiteral("01/") + d.periodo;
    if (!EsFecha(p))
        return Rechazo(QStringLiteral("El período ingresado no es válido!"), 48, QString(),
                       QStringLiteral("mskPeriodo"));

    const QString empresa = QString::number(IdEmpresa);
    try {
        Database& db = Database::open(RutaBase);
        // Check, number and rows apply together: a failure anywhere leaves nothing written.
        Transaction t(db);
        if (!db.openRecordset(QStringLiteral("SELECT * FROM DDJJ where DDJJ_Periodo= ") +
                              FormatoSQL(p, 4) + QStringLiteral(" and ddjj_idempresa=") + empresa)
                 .vacio())
            return Rechazo(QStringLiteral("Ya existe una DDJJ para el período ingresado"), 48,
                           std::nullopt);

        // Another copy may have declared one of these leavers since the window was loaded.
        QStringList bajas;
        for (const BajaDDJJ& b : d.bajas)
            if (EsBaja(b)) bajas << FormatoSQL(b.codigo, 1);
        if (!bajas.isEmpty()) {
            Recordset ya = db.openRecordset(
                QStringLiteral("select Baj_Empleado from Bajas where baj_idempresa=") + empresa +
                QStringLiteral(" and Baj_Empleado in (") + bajas.join(QLatin1Char(',')) +
                QLatin1Char(')'));
            if (!ya.vacio()) {
                ResultadoGrabar r =
                    Rechazo(QStringLiteral("El empleado %1 ya fue declarado como baja en otra "
                                           "Declaración Jurada. Se vuelven a cargar los datos.")
                                    .arg(FormatoNulo(ya.value(QStringLiteral("Baj_Empleado")), 1)) +
                                kNoSeGrabo,
                            48, std::nullopt);
                r.recargar = true;
                return r;
            }
        }

        // Another copy may have deleted an employee listed since then: the declaration would
        // count a line that nobody can list.
        QStringList listados;
        for (const EmpleadoDDJJ& e : d.empleados)
            if (!e.codigo.isEmpty() && EsNumero(e.codigo)) listados << FormatoSQL(e.codigo, 1);
        listados += bajas;
        if (!listados.isEmpty()) {
            Recordset rs = db.openRecordset(
                QStringLiteral("select ado_id from empleado where ado_idempresa=") + empresa +
                QStringLiteral(" and ado_id in (") + listados.join(QLatin1Char(',')) +
                QLatin1Char(')'));
            QSet<double> estan;
            for (; !rs.eof(); rs.moveNext()) estan.insert(LeerNumero(rs.value(0)));
            for (const QString& codigo : std::as_const(listados)) {
                if (estan.contains(LeerNumero(codigo))) continue;
                ResultadoGrabar r =
                    Rechazo(QStringLiteral("El empleado %1 ya no existe: otro usuario lo eliminó. "
                                           "Se vuelven a cargar los datos.")
                                    .arg(codigo) +
                                kNoSeGrabo,
                            48, std::nullopt);
                r.recargar = true;
                return r;
            }
        }

        qint64 maximo = 0;
        Recordset rs = db.openRecordset(QStringLiteral("SELECT max(DDJJ_Id) as Max  FROM DDJJ"));
        if (!rs.vacio() && !rs.isNull(QStringLiteral("Max")))
            maximo = rs.value(QStringLiteral("Max")).toLongLong();
        if (maximo >= std::numeric_limits<qint32>::max())
            return Rechazo(
                QStringLiteral("No quedan números de declaración disponibles.") + kNoSeGrabo, 48,
                std::nullopt);
        const qint32 idDDJJ = static_cast<qint32>(maximo + 1);

        const ResultadoCodBar codbar = ArmarCodBar(d.periodo, d.total);
        if (!codbar) return Rechazo(codbar.error + kNoSeGrabo, 48, std::nullopt);

        const QString id = QString::number(idDDJJ);
        const QStringList valores{id,
                                  FormatoSQL(p, 4),
                                  FormatoSQL(QDate::currentDate(), 4),
                                  FormatoSQL(d.vencimiento, 4),
                                  FormatoSQL(d.nroInscripcion, 1),
                                  FormatoSQL(d.cantEmpleados, 1),
                                  FormatoSQL(d.totalRemu, 1),
                                  FormatoSQL(d.remu2, 1),
                                  FormatoSQL(d.farmacia, 1),
                                  FormatoSQL(d.amec, 1),
                                  FormatoSQL(d.cuotaSocietaria, 1),
                                  FormatoSQL(d.total, 1),
                                  FormatoSQL(d.valorCuota, 1),
                                  FormatoSQL(d.tope, 1),
                                  FormatoSQL(d.prestamos, 1),
                                  FormatoSQL(d.amec3, 1),
                                  empresa,
                                  FormatoSQL(codbar.codigo->digitos, 3)};
        db.execute(
            QStringLiteral(
                "insert into DDJJ(DDJJ_Id,DDJJ_Periodo,DDJJ_Fecha, "
                "DDJJ_Vencimiento,DDJJ_NroIns,DDJJ_CantEmp,DDJJ_TotalRemu,DDJJ_2Remu,"
                "DDJJ_Farmacia,DDJJ_Amec,DDJJ_Cuota,DDJJ_Total,DDJJ_ValorCuota,DDJJ_Tope,"
                "DDJJ_Prestamo,DDJJ_Amec3,ddjj_idempresa,DDJJ_CODBAR,DDJJ_fcodbar) values(") +
            valores.join(QLatin1Char(',')) + QStringLiteral(",'") +
            ReemplazarTexto(codbar.codigo->fuente, QStringLiteral("'"), QStringLiteral("''"), 1) +
            QStringLiteral("')"));

        GrabarEmpleadosDDJJ(db, d, id, empresa);
        GrabarBajas(db, d, id, empresa);
        t.commit();
        return {ResultadoGrabar::Estado::Grabada, idDDJJ, QString()};
    } catch (const FalloEnBajas& f) {
        MsgBox(TextoError(f.error.numero(), f.error.descripcion()) + kNoSeGrabo);
    } catch (const DatabaseError& e) {
        MsgBox(QStringLiteral("Error Nro.:") + e.descripcion() + kNoSeGrabo);
    }
    return {ResultadoGrabar::Estado::Fallo, 0, QString()};
}

QString DDJJDanada(Database& db, qint32 idDDJJ, qint32 idEmpresa) {
    const QString id = QString::number(idDDJJ), empresa = QString::number(idEmpresa);
    const Recordset dj = db.openRecordset(
        QStringLiteral("select DDJJ_Periodo, DDJJ_CantEmp, DDJJ_TotalRemu, DDJJ_Prestamo from DDJJ "
                       "where DDJJ_Id=") +
        id + QStringLiteral(" and ddjj_idempresa=") + empresa);
    if (dj.vacio()) return {};
    // Every line of the declaration, as the reports list them, and those the window lists: of
    // the company, with the employee and its category there.
    const Recordset todas = db.openRecordset(
        QStringLiteral("select count(*) as Lineas from EmpleadoXDDJJ where ExD_IdDDJJ=") + id);
    const Recordset listadas = db.openRecordset(
        QStringLiteral("select count(*) as Lineas, sum(ExD_Sueldo) as Sueldos, sum(ExD_Prestamo) "
                       "as Prestamos from EmpleadoXDDJJ, empleado, categoria where "
                       "ExD_IdEmpleado=ado_id and ado_categoria= cat_id and ExD_IdDDJJ= ") +
        id + QStringLiteral(" and ExD_IdEmpresa=ado_idempresa and ExD_IdEmpresa=") + empresa);
    // Null (no line, no loan) reads as 0.
    const auto numero = [](const Recordset& rs, const char* campo) {
        return LeerNumero(rs.value(QString::fromLatin1(campo)));
    };
    // The totals were summed in another order: only a difference below the fourth decimal is
    // rounding.
    const auto igual = [](double a, double b) {
        return std::abs(a - b) <= 0.00005 + std::abs(b) * 1e-9;
    };
    const double cantidad = numero(dj, "DDJJ_CantEmp");
    if (numero(todas, "Lineas") == cantidad && numero(listadas, "Lineas") == cantidad &&
        igual(numero(listadas, "Sueldos"), numero(dj, "DDJJ_TotalRemu")) &&
        igual(numero(listadas, "Prestamos"), numero(dj, "DDJJ_Prestamo")))
        return {};
    const auto periodo = LeerFecha(dj.value(QStringLiteral("DDJJ_Periodo")));
    return QStringLiteral(
               "La Declaración Jurada del período %1 está dañada en el archivo: sus empleados no "
               "coinciden con la cantidad y los totales que se grabaron con ella. No se imprime "
               "ni se envía así. Restaure la última copia de seguridad.")
        .arg(periodo ? periodo->toString(QStringLiteral("MM/yyyy")) : QString());
}

ResultadoEliminar EliminarDDJJ(qint32 idDDJJ, const QString& periodo) {
    const QString n = FormatoSQL(idDDJJ, 1);
    // The number alone is not enough: another copy may have deleted this declaration and
    // given its number to another company's.
    const QString esta = QStringLiteral(" and ddjj_idempresa=") + QString::number(IdEmpresa) +
                         QStringLiteral(" and DDJJ_Periodo=") +
                         FormatoSQL(QStringLiteral("01/") + periodo, 4);
    try {
        Database& db = Database::open(RutaBase);
        Transaction t(db);
        if (db.openRecordset(QStringLiteral("select DDJJ_Id from DDJJ where DDJJ_Id=") + n + esta)
                .vacio()) {
            MsgBox(QStringLiteral("La Declaración Jurada ya no existe: otro usuario la eliminó.") +
                       QStringLiteral("\nNo se eliminó nada."),
                   48, std::nullopt);
            return ResultadoEliminar::NoExiste;
        }
        db.execute(QStringLiteral("delete from Bajas where Baj_DDJJ=") + n);
        db.execute(QStringLiteral("delete from EmpleadoXDDJJ where ExD_IdDDJJ=") + n);
        if (db.execute(QStringLiteral("delete from DDJJ where ddjj_id=") + n + esta) != 1)
            throw DatabaseError(0, QStringLiteral("La Declaración Jurada no se encontró."));
        t.commit();
    } catch (const DatabaseError& e) {
        MsgBox(TextoError(e.numero(), e.descripcion()) +
               QStringLiteral("\nLa Declaración Jurada no se eliminó."));
        return ResultadoEliminar::Fallo;
    }
    MsgBox(QStringLiteral("El registro se eliminó correctamente"), 64, QString());
    return ResultadoEliminar::Eliminada;
}

}  // namespace zul
