#pragma once
// The employees of the current company: loading by number, the checks made as each box is
// left, the suggested salary from the scale, and the save and delete of the row.

#include <QDate>
#include <QString>
#include <QtGlobal>
#include <array>

#include "masterdata/Mantenimiento.h"

class QCheckBox;
class QComboBox;

namespace zul {

// One employee as the window holds it: the texts of its boxes and the state of its choices.
struct DatosEmpleado {
    QString codigo, nombre, fechaNac, cuil, fechaIng, sueldo, categoria, fechaEgreso, empleo,
        observ, horas, remunera, noRemunera;
    std::array<bool, 4> aportes{};  // 2 %, 2,5, 1 %, C.S.
    bool afiliado = false;
    int motivoEgreso = 0;  // 0 none, 1 DESPIDO, 2 RENUNCIA, 3 OTRO
};

class frmEmpleados : public Mantenimiento {
    Q_OBJECT
  public:
    enum Caja {
        kCodigo = 0,
        kNombre = 1,
        kFechaNac = 2,
        kCuil = 3,
        kFechaIng = 4,
        kSueldo = 5,
        kFechaEgreso = 6,
        kCategoria = 7,
        kNombreCategoria = 8,
        kNombreEmpleo = 9,
        kEmpleo = 10,
        kAntiguedad = 11,
        kObservaciones = 12,
        kHoras = 13,
        kRemunera = 14,
        kNoRemunera = 15,
    };
    enum Aporte { kAporte2 = 0, kAporte25 = 1, kAporte1 = 2, kAporteCS = 3 };

    explicit frmEmpleados(QWidget* parent = nullptr);

    QComboBox* CmbEgreso() const { return CmbEgreso_; }
    QCheckBox* chkAporte(int indice) const { return chkAporte_.at(indice); }
    QCheckBox* afiliado() const { return afiliado_; }
    QLabel* Label3() const { return Label3_; }
    QLabel* LblSueldo() const { return LblSueldo_; }

    // The SQL texts of the window, for the values given.
    static QString ConsultaEmpleado(const QString& codigo, qint32 idEmpresa);
    // The highest number the company uses for an employee anywhere: its employees, loans,
    // instalments, declaration lines and leavers, so a new one never inherits a deleted one's.
    static QString ConsultaUltimoNumero(qint32 idEmpresa);
    static QString ConsultaCategoria(const QString& categoria);
    static QString ConsultaEmpleo(const QString& categoria, const QString& antiguedad,
                                  const QString& empleo);
    static QString ConsultaSueldoEmpleo(const QString& categoria, const QString& antiguedad,
                                        const QString& empleo);
    static QString ConsultaDeclarado(const QString& codigo, qint32 idEmpresa);
    static QString SentenciaInsertar(const DatosEmpleado& e, qint32 idEmpresa);
    static QString SentenciaActualizar(const DatosEmpleado& e, qint32 idEmpresa);
    static QString SentenciaEliminar(const QString& codigo, qint32 idEmpresa);

    // Whole years from the hiring year to this one; day and month do not count.
    static int Antiguedad(const QDate& ingreso, const QDate& hoy);

  protected:
    std::optional<ConsultaCaja> ConsultaDe(int caja) const override;
    bool ValidarCaja(int indice) override;
    VarianteAlta Variante() const override { return kAltaAlGrabar; }
    QString ConsultaClave() const override;
    void MostrarRegistro(const Recordset& rs) override;
    bool AlNoExistir() override;
    QList<Requerido> Requeridos() const override;
    std::optional<Rechazo> ComprobarAlGrabar(Database& db) override;
    bool Grabar(Database& db) override;
    QString ConsultaDependientes() const override;
    QString MensajeDependientes() const override;
    QStringList SentenciasEliminar() const override;
    void Limpiar() override;

  private:
    void Armar();
    QString Texto(int caja) const;
    DatosEmpleado Datos() const;
    void CalcularAntiguedad();
    void ValidarSueldo();
    void ValidarCategoria(bool alCargar);
    void ValidarEmpleo(bool alCargar);
    void ValidarEgreso();
    bool ValidarReparto();

    QComboBox* CmbEgreso_ = nullptr;
    std::array<QCheckBox*, 4> chkAporte_{};
    QCheckBox* afiliado_ = nullptr;
    QLabel* Label3_ = nullptr;
    QLabel* LblSueldo_ = nullptr;
};

}  // namespace zul
