#pragma once
// Start-up: the database path, this computer's name, the schema upgrade, the main window.

#include <QString>

namespace zul {

int Main(int argc, char** argv);
// Names the application; message boxes without a title show that name.
void NombrarAplicacion();
QString ObtenerNombreEquipo();
// Adds the columns older database files lack; a column already there is skipped. A file without
// every table of the program, or without a column the upgrade does not add, is another
// program's and is left untouched. Returns why the file
// could not be upgraded (in use, read-only, damaged, unreadable), or "" when nothing stood in
// the way.
QString ActualizarBase();
// Checks that the file holds every table and column the program uses and is not damaged;
// otherwise says which file cannot be used and why (with the upgrade's reason, if any) and
// returns false.
bool VerificarBase(const QString& motivoActualizacion = {});
// "No se puede abrir la base de datos ... El programa se cerrará." with the reason given.
void AvisarBaseInutilizable(const QString& motivo);
// Loads Qt's Spanish texts (context menus, standard dialogs); false when they are not installed.
bool TraducirQt();

}  // namespace zul
