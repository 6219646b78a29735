#include "app/Menu.h"

#include "common/Globales.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"

namespace zul {

Menu::Menu(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Menu"));
    setWindowTitle(QStringLiteral("ZUL - Telvaro Declaración Jurada"));
    resize(697, 473);
}

bool Menu::MDIForm_Load() {
    try {
        Database::open(RutaBase).openRecordset(
            QStringLiteral("SELECT emp_empresanro FROM Empresa  where emp_Id=0 and emp_empresanro>0 "));
    } catch (const DatabaseError& e) {
        MsgBox(QStringLiteral("No se puede abrir la base de datos %1.\n%2\nEl programa se cerrará.")
                   .arg(RutaBase, e.descripcion()),
               16, QStringLiteral("ERROR"));
        return false;
    }
    return true;
}

}  // namespace zul
