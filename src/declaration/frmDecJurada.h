#pragma once
// The monthly sworn declaration of the current company: its data, the period, the active
// employees with their loan instalments, the leavers, the contributions, and the buttons that
// save, delete, print and mail it.

#include <QMap>
#include <QStringList>
#include <QVector>
#include <QWidget>
#include <QtGlobal>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zul {

class Grid;
class Validacion;

class frmDecJurada : public QWidget {
    Q_OBJECT
  public:
    explicit frmDecJurada(QWidget* parent = nullptr);
    ~frmDecJurada() override;

    // The declaration's data, by index as the window numbers them (0 to 20).
    QLineEdit* texto(int indice) const { return texto_.at(indice); }
    QLineEdit* mskPeriodo() const { return mskPeriodo_; }
    Grid* Grilla() const { return Grilla_; }
    Grid* Grilla2() const { return Grilla2_; }
    QPushButton* btnGrabar() const { return btnGrabar_; }
    QPushButton* btnEliminar() const { return btnEliminar_; }
    // Number of the declaration on screen; 0 while it is new.
    qint32 IdDDJJ() const { return IdDDJJ_; }

    void Form_Load();
    bool mskPeriodo_Validate();
    void mskPeriodo_KeyDown(int keyCode);
    void texto_GotFocus(int indice);
    bool texto_Validate(int indice);

    void CargarEmpleados(const QString& sql, bool calcularPrestamos);
    void CargarEmpBaja(const QString& sql);
    bool BuscarGrilla2(qint64 codigo);
    bool BuscarGrilla(qint64 codigo);
    void Calcular();

    void Grilla2_EnterCell();
    void Grilla2_AfterEdit(int fila, int col);
    void Grilla2_KeyDown(int& keyCode, int shift);

    void btnGrabar_Click();
    void btnEliminar_Click();
    void btnImprimir_Click();
    void btnEMail_Click();
    void btnEmpleados_Click();
    void btnCancelar_Click();
    void btnSalir_Click();

    // The SQL texts of the grids, for the company and declaration given.
    static QString ConsultaEmpleadosNueva(qint32 idEmpresa);
    static QString ConsultaBajasNueva(qint32 idEmpresa);
    static QString ConsultaEmpleadosGrabada(const QString& idDDJJ, qint32 idEmpresa);
    static QString ConsultaBajasGrabada(const QString& idDDJJ);
    // Each employee's instalments due in the month, summed (employees without any are absent).
    static QString ConsultaCuotasDelMes(qint32 idEmpresa, int mes, int anio);
    // The due date proposed for a period typed "mm/yyyy"; "" when it is not numeric.
    static QString VencimientoPropuesto(const QString& periodo);

  private:
    void ArmarVentana();
    void BorrarGrilla(qint64 codigo);
    // Employees taken off the active grid by a leaver's code go back when no leaver row holds
    // them any more.
    bool ReponerEmpleados();
    QString Periodo() const;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

    QVector<QLineEdit*> texto_;
    QVector<QLabel*> Label1_;
    QLineEdit* mskPeriodo_ = nullptr;
    Grid* Grilla_ = nullptr;
    Grid* Grilla2_ = nullptr;
    QPushButton* btnGrabar_ = nullptr;
    QPushButton* btnEliminar_ = nullptr;
    QPushButton* btnImprimir_ = nullptr;
    QPushButton* btnEmpleados_ = nullptr;
    QPushButton* btnEMail_ = nullptr;
    QPushButton* btnCancelar_ = nullptr;
    QPushButton* btnSalir_ = nullptr;
    Validacion* validacion_ = nullptr;
    qint32 IdDDJJ_ = 0;
    // What makes the declaration on screen unfit to save: a grid that did not load whole, or
    // amounts beyond what can be represented.
    bool cargaIncompleta_ = false;
    bool desborde_ = false;
    // The period typed did not load: the window still shows the month before, which must not
    // be deleted, printed or mailed under the period typed.
    bool periodoSinCargar_ = false;
    // Says so, also for a period that is no month, and returns true then.
    bool PeriodoSinCargar() const;
    // Box that lost the focus only to another window or a menu (-1: none).
    int cajaSinSalir_ = -1;
    // Rows of the active grid taken out by a code typed among the leavers, by employee code.
    QMap<qint64, QStringList> quitados_;
};

}  // namespace zul
