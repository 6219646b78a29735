#pragma once
// Loans the current company makes to its employees, and their monthly instalments, which the
// declaration collects month by month. A loan whose first instalment month is already declared
// can only be viewed.

#include "masterdata/Mantenimiento.h"
#include "masterdata/Prestamos.h"

namespace zul {

class frmPrestamos : public Mantenimiento {
    Q_OBJECT
  public:
    enum Caja {
        kNumero = 0,
        kEmpleado = 1,
        kImporte = 2,
        kCuotas = 3,
        kFecha = 4,
        kVencimiento1 = 5,
        kNombre = 6,
    };
    explicit frmPrestamos(QWidget* parent = nullptr);

  protected:
    std::optional<ConsultaCaja> ConsultaDe(int caja) const override;
    bool ValidarCaja(int indice) override;
    VarianteAlta Variante() const override { return kAltaAlGrabar; }
    QString ConsultaClave() const override;
    void MostrarRegistro(const Recordset& rs) override;
    // A loan on screen leaves its number open: typing another one shows that loan.
    bool ClaveAbierta(bool existe) const override { return existe; }
    bool AlNoExistir() override;
    QList<Requerido> Requeridos() const override;
    std::optional<Rechazo> ComprobarAlGrabar(Database& db) override;
    bool Grabar(Database& db) override;
    QString MensajeGrabado() const override;
    std::optional<QString> TituloGrabado() const override;
    // A loan declared since it was loaded is kept: its lock is read inside the write.
    QString ConsultaDependientes() const override;
    QString MensajeDependientes() const override;
    QStringList SentenciasEliminar() const override;
    void Limpiar() override;

  private:
    void ValidarEmpleado();
    void MostrarNombre(const QString& nombre);
    // Save and delete only for a loan whose first instalment month is not declared.
    void AplicarBloqueo();
    void Bloquear(bool bloqueado);
    // The lock read again inside the save, for the loan as stored and as typed.
    std::optional<Rechazo> MesDeclarado(Database& db);
    qint64 Numero() const;
};

}  // namespace zul
