#pragma once
// A saved declaration written with plain SQL, and the default report files beside it, for the
// tests of printing and mailing.

#include <QString>

namespace zul::prueba {

class BaseDePrueba;

// Company 3 "Compañía Ñandú & Hijos S.A." (CUIT 30-99887766-5) with declaration 7 of 05/2024:
// two employee lines (Pérez, José; D'Angelo, María), one leaver (Gómez, Ana), total 19270,52
// and its bar code. Returns the 32 bar-code digits stored.
QString GrabarDDJJDePrueba(const BaseDePrueba& base);

// Copies the shipped report files (reports/*.rpt) into the program folder.
void CopiarInformes(const QString& carpeta);

}  // namespace zul::prueba
