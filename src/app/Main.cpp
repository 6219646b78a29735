#include "app/Main.h"

#include <QApplication>
#include <QFileInfo>
#include <QSysInfo>

#include "app/Menu.h"
#include "common/Globales.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"

namespace zul {

QString ObtenerNombreEquipo() {
    return QSysInfo::machineHostName().left(255);
}

void ActualizarBase() {
    try {
        Database& db = Database::open(RutaBase);
        for (const char* sql :
             {"alter table DDJJ add DDJJ_codbar varchar(32)",
              "alter table DDJJ add DDJJ_fcodbar varchar(32)",
              "alter table empleado add Ado_Remunera double,Ado_NORemunera double"}) {
            try {
                db.execute(QString::fromLatin1(sql));
            } catch (const DatabaseError&) {
                // The column is already there: nothing to do.
            }
        }
    } catch (const DatabaseError&) {
        // No database: the main window's load tells the user.
    }
}

void NombrarAplicacion() {
    // Only the name: a display name would be appended by the window system to every title
    // ("... — ZUL"), and the captions must read exactly as the program sets them. Message
    // boxes without a title still show "ZUL".
    QApplication::setApplicationName(QStringLiteral("ZUL"));
}

int Main(int argc, char** argv) {
    QApplication app(argc, argv);
    NombrarAplicacion();
    CarpetaPrograma = QCoreApplication::applicationDirPath();
    RutaBase = CarpetaPrograma + QStringLiteral("/ZUL.mdb");
    NombreEquipo = ObtenerNombreEquipo();
    ActualizarBase();
    Menu menu;
    if (!menu.MDIForm_Load()) return 1;
    Centrar(&menu);
    menu.show();
    return app.exec();
}

}  // namespace zul
