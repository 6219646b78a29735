#pragma once
// The accounting firm's own data: the row of Empresa numbered 0, with the report files and the
// address the declarations are mailed to. Loaded when the window opens; saving closes it.

#include <QStringList>

#include "masterdata/Mantenimiento.h"

namespace zul {

class frmDatosEmpresa : public Mantenimiento {
    Q_OBJECT
  public:
    enum Caja {
        kNombre = 0,
        kDomicilio = 1,
        kLocalidad = 2,
        kCuit = 3,
        kTelefono = 4,
        kReporteDJ = 5,
        kReporteCupon = 6,
        kEmailDestino = 7,
        kCantidadCajas = 8,
    };

    explicit frmDatosEmpresa(QWidget* parent = nullptr);

    // `valores`: the eight boxes' texts, in box order.
    static QString AltaEstudio(const QStringList& valores);
    static QString ModificacionEstudio(const QStringList& valores);

  protected:
    void AlCargar() override;
    VarianteAlta Variante() const override { return kAltaAlGrabar; }
    QString ConsultaClave() const override;
    void MostrarRegistro(const Recordset& rs) override;
    QString ComoVolverACargar() const override;
    bool ValidarCaja(int indice) override;
    QList<Requerido> Requeridos() const override;
    bool Grabar(Database& db) override;
    void DespuesDeGrabar() override;

  private:
    QStringList Valores() const;
};

}  // namespace zul
