#pragma once
// Bulk salary update: adds an amount to, or applies a percentage on, the salaries of one job
// code of the scale, optionally narrowed to one category and one seniority.

#include <QVariant>
#include <optional>
#include <vector>

#include "common/Moneda.h"
#include "masterdata/Mantenimiento.h"

class QLabel;

namespace zul {

class frmActSueld : public Mantenimiento {
    Q_OBJECT
  public:
    enum Caja { kCodigo = 0, kCategoria = 1, kAntiguedad = 2, kImporte = 3, kPorcentaje = 4 };

    explicit frmActSueld(QWidget* parent = nullptr);

    QLabel* denom(int indice) const { return denom_[indice]; }
    QLabel* Eti() const { return Eti_; }

    // The SQL texts of the window, for the values given.
    static QString ConsultaEmpleo(const QString& codigo);
    // " where " and the conditions of the values given; "" when none of them gives one.
    static QString FiltroSueldos(const QString& codigo, const QString& categoria,
                                 const QString& antiguedad);
    static QString ConsultaSueldos(const QString& filtro);
    static QString ActualizarSueldo(const QVariant& codigo, const QVariant& categoria,
                                    const QVariant& antiguedad, Moneda sueldo);
    // A salary after the update: the amount added, or the percentage applied on a double as the
    // engine does, held as currency; nullopt when the result leaves the range.
    static std::optional<Moneda> SueldoActualizado(Moneda sueldo, std::optional<Moneda> importe,
                                                   std::optional<Moneda> porcentaje);
    void texto_GotFocus(int indice) override;
    void texto_LostFocus(int indice) override;

  protected:
    std::optional<ConsultaCaja> ConsultaDe(int caja) const override;
    bool ValidarCaja(int indice) override;
    QList<Requerido> Requeridos() const override;
    bool PuedeGrabar() override;
    std::optional<Rechazo> ComprobarAlGrabar(Database& db) override;
    bool Grabar(Database& db) override;
    QString MensajeGrabado() const override;
    int EstiloGrabado() const override;
    std::optional<QString> TituloGrabado() const override;
    void Limpiar() override;

  private:
    // Shows the name found by `sql` in denom(caja), or says `inexistente` and sends the focus back.
    void Denominar(int caja, const QString& sql, const QString& campo, const QString& inexistente);
    void MostrarSueldo();
    // Refuses, saying why, an update that is not one amount or one percentage.
    bool UnCriterio();

    // The salaries the update writes, worked out from the stored ones inside its transaction.
    struct Cambio {
        QVariant codigo, categoria, antiguedad;
        Moneda sueldo;
    };
    std::vector<Cambio> cambios_;

    QLabel* denom_[2] = {};
    QLabel* Eti_ = nullptr;
};

}  // namespace zul
