#pragma once
// Salary-scale import: replaces the categories and the whole salary scale by the statements
// of a text file, one per line, all of them or none.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace zul {

class Database;

// An import file's statement and the line of the file it stands on (from 1).
struct LineaImportacion {
    int numero;
    QString sql;
};

// The file's text: UTF-8 with or without BOM, otherwise Windows-1252.
QString TextoDeArchivo(const QByteArray& contenido);
// Its statements: lines ended by CR LF, LF or CR; blank lines are skipped but still counted.
QList<LineaImportacion> LineasDeImportacion(const QByteArray& contenido);

// Why an import stopped: the line (0 when no line was at fault) and the engine's reason.
struct FalloImportacion {
    int linea;
    QString motivo;
};

// Empties Categoria and Empleo and runs every statement, in one transaction: on the first
// failure nothing has changed. Every statement is checked before anything runs: it may only
// insert, update or delete rows of those two tables.
std::optional<FalloImportacion> ImportarSueldos(Database& db,
                                                const QList<LineaImportacion>& lineas);

class ImpoEmpleos : public QWidget {
    Q_OBJECT
  public:
    explicit ImpoEmpleos(QWidget* parent = nullptr);

    // The platform's open-file dialog: the chosen path, or "" when cancelled. Tests replace it.
    static std::function<QString(QWidget* padre, const QString& titulo, const QString& carpeta,
                                 const QString& filtro)>
        ElegirArchivo;

    void Form_Load();
    void bbuscar_Click();
    void bimportar_Click();
    void btnCancelar_Click();
    void btnSalir_Click();

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    QGroupBox* Frame1;
    QPushButton* bbuscar;
    QLineEdit* texto;
    QPushButton* bimportar;
    QPushButton* btnCancelar;
    QPushButton* btnSalir;
    QString elegido_;  // the dialog remembers its last file, as the user expects
    bool cargada_ = false;
};

}  // namespace zul
