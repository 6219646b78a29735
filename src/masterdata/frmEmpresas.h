#pragma once
// The companies whose declarations the firm prepares: the rows of Empresa above the firm's own.
// A new company gets its number when it is saved; one with a saved declaration stays.

#include <QString>
#include <QVariant>

#include "masterdata/Mantenimiento.h"

class QComboBox;
class QRadioButton;

namespace zul {

class frmEmpresas : public Mantenimiento {
    Q_OBJECT
  public:
    // Boxes of the texto array; 6 carries no field.
    enum Caja {
        kNombre = 0,
        kDomicilio = 1,
        kLocalidad = 2,
        kCuit = 3,
        kTelefono = 4,
        kFechaInicio = 5,
        kCodigo = 7,
    };
    enum Persona { kJuridica = 0, kFisica = 1 };

    explicit frmEmpresas(QWidget* parent = nullptr);

    QRadioButton* OptPersona(int indice) const { return OptPersona_[indice]; }
    QComboBox* CmbRubro() const { return CmbRubro_; }

    // What a save writes, as the window holds it.
    struct Datos {
        QString codigo, nombre, domicilio, localidad, cuit, telefono, fechaInicio;
        bool juridica = true;
        QVariant rubro;  // the selected sector's codigo; invalid when none
    };

    static QString ConsultaEmpresa(const QString& codigo);
    // Above every number any table gives a company, so a new company inherits nothing.
    static QString ConsultaNuevoNumero();
    static QString AltaEmpresa(const Datos& d);
    static QString ModificacionEmpresa(const Datos& d);
    static QString ConsultaDeclaraciones(const QString& codigo);
    static QString BajaEmpresa(const QString& codigo);

  protected:
    void AlCargar() override;
    std::optional<ConsultaCaja> ConsultaDe(int caja) const override;
    bool ValidarCaja(int indice) override;
    VarianteAlta Variante() const override { return kAltaAlGrabar; }
    QString ConsultaClave() const override;
    void MostrarRegistro(const Recordset& rs) override;
    QList<Requerido> Requeridos() const override;
    bool Grabar(Database& db) override;
    QString MensajeGrabado() const override;
    std::optional<QString> TituloGrabado() const override;
    QString ConsultaDependientes() const override;
    QString MensajeDependientes() const override;
    QStringList SentenciasEliminar() const override;
    void Limpiar() override;

  private:
    QString Codigo() const;
    Datos DatosEnPantalla() const;

    QRadioButton* OptPersona_[2] = {};
    QComboBox* CmbRubro_ = nullptr;
};

}  // namespace zul
