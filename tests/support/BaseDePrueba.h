#pragma once
// A fresh database in a temporary program folder, built from the same schema and seed rows
// as the program's own; message boxes are recorded and answered instead of shown.

#include <QString>
#include <QTemporaryDir>

namespace zul::prueba {

class BaseDePrueba {
public:
    BaseDePrueba();   // sets RutaBase, CarpetaPrograma, IdEmpresa 0, message-box seam on
    ~BaseDePrueba();  // closes the shared connection
    QString ruta() const;
    QString carpeta() const { return dir_.path(); }
    // Runs Jet SQL statements, for fixtures.
    void ejecutar(const QString& sql) const;
    // First column of the first row, or an invalid QVariant.
    QVariant valor(const QString& sql) const;

private:
    QTemporaryDir dir_;
};

// The schema and seed scripts of the program, as the build uses them.
QStringList scriptsDeLaBase();

}  // namespace zul::prueba
