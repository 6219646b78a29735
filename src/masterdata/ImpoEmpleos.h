#pragma once
// Salary-scale import: replaces the categories and the whole salary scale by the statements
// of a text file, one per line, all of them or none.

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

#include "masterdata/Mantenimiento.h"

class QGroupBox;

namespace zul {

// An import file's statement and the line of the file it stands on (from 1).
struct LineaImportacion {
    int numero;
    QString sql;
};

// The file's text: as its byte-order mark says (UTF-8, UTF-16, UTF-32), otherwise UTF-8 or,
// failing that, Windows-1252.
QString TextoDeArchivo(const QByteArray& contenido);
// Its statements: lines ended by CR LF, LF or CR; blank lines are skipped but still counted.
QList<LineaImportacion> LineasDeImportacion(const QByteArray& contenido);

// Why an import stopped: the line (0 when no line was at fault) and the engine's number and
// reason.
struct FalloImportacion {
    int linea;
    int numero;
    QString motivo;
};

// Compiles every statement without running any: each may only insert, update or delete rows of
// Categoria and Empleo, one statement per line.
std::optional<FalloImportacion> ComprobarImportacion(Database& db,
                                                     const QList<LineaImportacion>& lineas);
// Empties Categoria and Empleo and runs every statement, in one transaction: on the first
// failure nothing has changed.
std::optional<FalloImportacion> EjecutarImportacion(Database& db,
                                                    const QList<LineaImportacion>& lineas);
// Both, one after the other.
std::optional<FalloImportacion> ImportarSueldos(Database& db,
                                                const QList<LineaImportacion>& lineas);

// The window: the file's path chosen with the open-file dialog, then Importar. It stays open
// with the path, so the same file can be imported again.
class ImpoEmpleos : public Mantenimiento {
    Q_OBJECT
  public:
    explicit ImpoEmpleos(QWidget* parent = nullptr);

    // The platform's open-file dialog: the chosen path, or "" when cancelled. Tests replace it.
    static std::function<QString(QWidget* padre, const QString& titulo, const QString& carpeta,
                                 const QString& filtro)>
        ElegirArchivo;

    void bbuscar_Click();

  protected:
    // The path given, the file read and every statement checked.
    bool PuedeGrabar() override;
    bool Grabar(Database& db) override;
    QString MensajeGrabado() const override;
    int EstiloGrabado() const override;
    std::optional<QString> TituloGrabado() const override;
    void DespuesDeGrabar() override {}
    void Limpiar() override;

  private:
    QGroupBox* Frame1;
    QPushButton* bbuscar;
    QLineEdit* texto;
    QString elegido_;  // the dialog remembers its last file
    QList<LineaImportacion> lineas_;
};

}  // namespace zul
