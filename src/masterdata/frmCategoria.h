#pragma once
// The employee categories: a code and its description. A new code becomes a row as soon as
// its box is left; a category that any employee uses cannot be deleted.

#include "masterdata/Mantenimiento.h"

namespace zul {

class frmCategoria : public Mantenimiento {
    Q_OBJECT
  public:
    enum Caja { kCodigo = 0, kDescripcion = 1 };

    explicit frmCategoria(QWidget* parent = nullptr);

    // The SQL texts of the window, for the code and description given.
    static QString ConsultaCategoria(const QString& codigo);
    static QString AltaCategoria(const QString& codigo);
    static QString ActualizarCategoria(const QString& codigo, const QString& descripcion);
    static QString EmpleadosDeCategoria(const QString& codigo);
    static QString EliminarCategoria(const QString& codigo);

  protected:
    std::optional<ConsultaCaja> ConsultaDe(int caja) const override;
    QString ConsultaClave() const override;
    QString AltaClave() const override;
    void MostrarRegistro(const Recordset& rs) override;
    QList<Requerido> Requeridos() const override;
    bool Grabar(Database& db) override;
    QString ConsultaDependientes() const override;
    QString MensajeDependientes() const override;
    QStringList SentenciasEliminar() const override;

  private:
    QString Codigo() const;
};

}  // namespace zul
