#pragma once
// The backup archive: a consistent snapshot of the database (SQLite's online backup), written
// as a .zip holding "ZUL.mdb" under a temporary name in the destination folder, read back and
// compared, and only then given its name. An earlier archive of that name stays untouched
// until the new one is complete; a temporary file left by a backup cut short is removed by the
// next backup into that folder.

#include <QDate>
#include <QString>
#include <stdexcept>

namespace zul {

// Why a backup failed, in words for the user.
class ErrorCopia : public std::runtime_error {
  public:
    explicit ErrorCopia(const QString& motivo)
        : std::runtime_error(motivo.toStdString()), motivo_(motivo) {}
    QString motivo() const { return motivo_; }

  private:
    QString motivo_;
};

// " ZUL" + ddmmyyyy + ".zip": the leading blank is part of the name.
QString NombreCopia(const QDate& fecha);

// Archives the database at `rutaBase` into the file `archivo`; throws ErrorCopia.
void GenerarCopia(const QString& rutaBase, const QString& archivo);

}  // namespace zul
