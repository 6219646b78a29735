#include "app/Main.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QScopeGuard>
#include <QSysInfo>
#include <QTranslator>

#include "app/Menu.h"
#include "common/Globales.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"

namespace zul {

QString ObtenerNombreEquipo() {
    return QSysInfo::machineHostName().left(255);
}

namespace {

// Every table and column the program reads or writes.
const struct {
    const char* tabla;
    const char* columnas;
} kEsquema[] = {
    {"Empresa",
     "Emp_Id Emp_Nombre Emp_Domicilio Emp_Localidad Emp_CUIT Emp_Telefono emp_rptDJ1 emp_rptDJ2 "
     "emp_emaild emp_fecini emp_perjur emp_rubro emp_empresanro"},
    {"Categoria", "Cat_Id Cat_Nombre"},
    {"Empleo", "emp_codigo emp_catego emp_antigu emp_nombre emp_sueldo"},
    {"Empleado",
     "Ado_Id Ado_Nombre Ado_FechaNac Ado_Cuil Ado_FechaIng Ado_Sueldo Ado_Categoria Ado_Aporte2 "
     "Ado_Aporte25 Ado_Aporte1 Ado_AporteCS Ado_FechaEgreso Ado_Empleo Ado_Afiliado "
     "ado_IdEmpresa ado_observ ado_motivoegreso ado_horas Ado_Remunera Ado_noRemunera"},
    {"DDJJ",
     "DDJJ_Id DDJJ_Periodo DDJJ_Fecha DDJJ_Vencimiento DDJJ_NroIns DDJJ_CantEmp DDJJ_TotalRemu "
     "DDJJ_2Remu DDJJ_Farmacia DDJJ_Amec DDJJ_Cuota DDJJ_Total DDJJ_ValorCuota DDJJ_Tope "
     "DDJJ_Prestamo DDJJ_Amec3 ddjj_idempresa DDJJ_CODBAR DDJJ_fcodbar"},
    {"EmpleadoXDDJJ",
     "ExD_IdDDJJ ExD_IdEmpleado ExD_Sueldo ExD_Aporte2 ExD_AporteFar ExD_AporteAmec ExD_Cuota "
     "ExD_IdCatego ExD_Afiliado ExD_Prestamo ExD_idempresa"},
    {"Bajas", "Baj_DDJJ Baj_Empleado Baj_FecEgreso Baj_Sueldo Baj_IdCatego baj_idempresa"},
    {"Prestamo",
     "pre_Id pre_idEmpleado pre_importe pre_cuotas pre_Fecha pre_Fechaven1 "
     "pre_IdEmpresa"},
    {"PrestamoCuota",
     "pcu_idPrestamo pcu_nrocuota pcu_idempleado pcu_importe pcu_fechaven pcu_IdEmpresa"},
    {"impresoras", "imp_equipo imp_ticket imp_factua imp_factub imp_otros"},
    {"rubros", "codigo descripcion"},
};

// The columns the upgrade adds to an older file, with the statement that adds them.
const struct {
    const char* tabla;
    const char* columnas;
    const char* sql;
} kAgregadas[] = {
    {"DDJJ", "DDJJ_codbar", "alter table DDJJ add DDJJ_codbar varchar(32)"},
    {"DDJJ", "DDJJ_fcodbar", "alter table DDJJ add DDJJ_fcodbar varchar(32)"},
    {"Empleado", "Ado_Remunera Ado_noRemunera",
     "alter table empleado add Ado_Remunera double,Ado_NORemunera double"},
};

QStringList Columnas(const char* lista) {
    return QString::fromLatin1(lista).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool Agregada(const QString& tabla, const QString& columna) {
    for (const auto& a : kAgregadas)
        if (tabla == QLatin1String(a.tabla) &&
            Columnas(a.columnas).contains(columna, Qt::CaseInsensitive))
            return true;
    return false;
}

// The columns of `tabla`, read without a row; throws DatabaseError when there is no such table.
Recordset Vacia(Database& db, const QString& tabla) {
    return db.openRecordset(QStringLiteral("SELECT * FROM ") + tabla +
                            QStringLiteral(" WHERE 0=1"));
}

const QString kAjena = QStringLiteral(
    "El archivo no es una base de datos de este programa: %1 Ponga en su lugar la base de datos "
    "del programa o restaure la última copia de seguridad.");

// How much of the schema Faltante looks for.
enum Alcance {
    propias,  // the tables and every column but those the upgrade adds
    todo
};

// What the file lacks, in words; empty when everything is there. A missing table or a missing
// column the upgrade does not add makes it another program's file, which is said first.
QString Faltante(Database& db, Alcance alcance) {
    QString vieja;  // an older file of ours that could not be upgraded
    for (const auto& t : kEsquema) {
        const QString tabla = QString::fromLatin1(t.tabla);
        Recordset rs;
        try {
            rs = Vacia(db, tabla);
        } catch (const DatabaseError&) {
            return kAjena.arg(QStringLiteral("le falta la tabla %1.").arg(tabla));
        }
        for (const QString& columna : Columnas(t.columnas)) {
            if (rs.fieldIndex(columna) >= 0) continue;
            if (!Agregada(tabla, columna))
                return kAjena.arg(
                    QStringLiteral("le falta la columna %1 de la tabla %2.").arg(columna, tabla));
            if (alcance == todo && vieja.isEmpty())
                vieja =
                    QStringLiteral("Le falta la columna %1 de la tabla %2.").arg(columna, tabla);
        }
    }
    return vieja;
}

// The engine's plain error code, which a column already there gives.
constexpr int kErrorSql = 1;
// At start-up a file another program holds is said at once.
constexpr int kEsperaAlComenzar = 500;

}  // namespace

QString ActualizarBase() {
    try {
        Database& db = Database::open(RutaBase);
        // Another program's file is left as it was, and a damaged one is not written to.
        if (!Faltante(db, propias).isEmpty()) return {};
        db.verificarIntegridad();
        db.esperarBloqueo(kEsperaAlComenzar);
        const auto restaurar = qScopeGuard([&db] { db.esperarBloqueo(Database::kEspera); });
        QString motivo;
        for (const auto& a : kAgregadas) {
            const Recordset rs = Vacia(db, QString::fromLatin1(a.tabla));
            bool falta = false;
            for (const QString& columna : Columnas(a.columnas)) falta |= rs.fieldIndex(columna) < 0;
            if (!falta) continue;
            try {
                db.execute(QString::fromLatin1(a.sql));
            } catch (const DatabaseError& e) {
                // A column already there is the engine's plain error; a file in use or
                // read-only stops the upgrade (the next statements would only wait and fail).
                if ((e.numero() & 0xFF) != kErrorSql) {
                    motivo = e.descripcion();
                    break;
                }
            }
        }
        return motivo;
    } catch (const DatabaseError& e) {
        return e.descripcion();
    }
}

void AvisarBaseInutilizable(const QString& motivo) {
    // A reason that already names the file is not preceded by its name again.
    const QString texto =
        motivo.contains(RutaBase)
            ? motivo
            : QStringLiteral("No se puede abrir la base de datos %1.\n%2").arg(RutaBase, motivo);
    MsgBox(texto + QStringLiteral("\nEl programa se cerrará."), 16, QStringLiteral("ERROR"));
}

bool VerificarBase(const QString& motivoActualizacion) {
    QString motivo;
    try {
        Database& db = Database::open(RutaBase);
        motivo = Faltante(db, todo);
        if (!motivo.isEmpty() && !motivoActualizacion.isEmpty())
            motivo += QStringLiteral(" No se pudo actualizar: ") + motivoActualizacion;
        // Nothing is read from a damaged file: its sums would be wrong without a word.
        if (motivo.isEmpty()) db.verificarIntegridad();
    } catch (const DatabaseError& e) {
        motivo = e.descripcion();
    }
    if (motivo.isEmpty()) return true;
    AvisarBaseInutilizable(motivo);
    return false;
}

bool TraducirQt() {
    auto* traductor = new QTranslator(QCoreApplication::instance());
    return traductor->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
           QCoreApplication::installTranslator(traductor);
}

void NombrarAplicacion() {
    // Only the name: a display name would be appended by the window system to every title
    // ("... — ZUL"), and the captions must read exactly as the program sets them. Message
    // boxes without a title still show "ZUL".
    QApplication::setApplicationName(QStringLiteral("ZUL"));
}

int Main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Message boxes and Qt's own dialogs in the windows' type too.
    QApplication::setFont(FuenteVentana());
    NombrarAplicacion();
    CarpetaPrograma = QCoreApplication::applicationDirPath();
    RutaBase = CarpetaPrograma + QStringLiteral("/ZUL.mdb");
    NombreEquipo = ObtenerNombreEquipo();
    // Qt's own dialogs and menus speak Spanish too; without the translations they stay English.
    TraducirQt();
    if (!VerificarBase(ActualizarBase())) return 1;
    Menu menu;
    if (!menu.MDIForm_Load()) return 1;
    Centrar(&menu);
    menu.show();
    return app.exec();
}

}  // namespace zul
