#pragma once
// The salary scale: one row per job code, category and seniority, with the job's general name
// and its salary. A new key becomes a row as soon as the seniority box is left.

#include "masterdata/Mantenimiento.h"

class QLabel;

namespace zul {

class Empleos : public Mantenimiento {
    Q_OBJECT
  public:
    enum Caja { kCodigo = 0, kCategoria = 1, kAntiguedad = 2, kNombre = 3, kTotal = 4 };

    explicit Empleos(QWidget* parent = nullptr);

    QLabel* denom() const { return denom_; }

    // The SQL texts of the window, for the key and values given.
    static QString ConsultaCategoria(const QString& categoria);
    static QString ConsultaEmpleo(const QString& codigo, const QString& categoria,
                                  const QString& antiguedad);
    static QString AltaEmpleo(const QString& codigo, const QString& categoria,
                              const QString& antiguedad);
    static QString ActualizarEmpleo(const QString& codigo, const QString& categoria,
                                    const QString& antiguedad, const QString& nombre,
                                    const QString& total);
    static QString EliminarEmpleo(const QString& codigo, const QString& categoria,
                                  const QString& antiguedad);

  protected:
    void AlCargar() override;
    std::optional<ConsultaCaja> ConsultaDe(int caja) const override;
    bool ValidarCaja(int indice) override;
    QString ConsultaClave() const override;
    QString AltaClave() const override;
    void AntesDeAlta() override;
    void MostrarRegistro(const Recordset& rs) override;
    bool AlNoExistir() override;
    QList<Requerido> Requeridos() const override;
    bool Grabar(Database& db) override;
    int EstiloConfirmacion() const override;
    QStringList SentenciasEliminar() const override;
    void DespuesDeEliminar() override;
    void Limpiar() override;

  private:
    bool ValidarCategoria();
    bool ValidarAntiguedad();
    QString Texto(int caja) const;

    QLabel* denom_ = nullptr;
};

}  // namespace zul
