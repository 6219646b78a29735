#include "app/Main.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
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

// What the file lacks, in words; empty when everything is there. With `soloTablas`, only the
// tables are looked for: the columns an older file lacks are the upgrade's to add.
QString Faltante(Database& db, bool soloTablas = false) {
    for (const auto& t : kEsquema) {
        const QString tabla = QString::fromLatin1(t.tabla);
        Recordset rs;
        try {
            rs = db.openRecordset(QStringLiteral("SELECT * FROM ") + tabla +
                                  QStringLiteral(" WHERE 0=1"));
        } catch (const DatabaseError&) {
            return QStringLiteral("Le falta la tabla %1.").arg(tabla);
        }
        if (soloTablas) continue;
        for (const QString& columna :
             QString::fromLatin1(t.columnas).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            if (rs.fieldIndex(columna) < 0)
                return QStringLiteral("Le falta la columna %1 de la tabla %2.").arg(columna, tabla);
    }
    return {};
}

// The engine's plain error code, which a column already there gives.
constexpr int kErrorSql = 1;

}  // namespace

QString ActualizarBase() {
    try {
        Database& db = Database::open(RutaBase);
        // Another program's file is left as it was, and a damaged one is not written to.
        if (!Faltante(db, true).isEmpty()) return {};
        db.verificarIntegridad();
        for (const char* sql :
             {"alter table DDJJ add DDJJ_codbar varchar(32)",
              "alter table DDJJ add DDJJ_fcodbar varchar(32)",
              "alter table empleado add Ado_Remunera double,Ado_NORemunera double"}) {
            try {
                db.execute(QString::fromLatin1(sql));
            } catch (const DatabaseError& e) {
                // The column already there is the engine's plain error; a file in use or
                // read-only stops the upgrade (the next statements would only wait and fail).
                if ((e.numero() & 0xFF) != kErrorSql) return e.descripcion();
            }
        }
    } catch (const DatabaseError& e) {
        return e.descripcion();
    }
    return {};
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
        // A missing table first: it is what tells another program's file.
        motivo = Faltante(db, true);
        if (motivo.isEmpty()) motivo = Faltante(db);
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
