#pragma once
// Start-up: the database path, this computer's name, the schema upgrade, the main window.

#include <QString>

namespace zul {

int Main(int argc, char** argv);
// Names the application; message boxes without a title show that name.
void NombrarAplicacion();
QString ObtenerNombreEquipo();
// Adds the columns older database files lack; each statement is tried, a failure skipped.
void ActualizarBase();

}  // namespace zul
