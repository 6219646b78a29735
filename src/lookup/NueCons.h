#pragma once
// The period lookup: a modal pick list over a query on the editable grid, with a search box,
// a choice of the column searched, a sort by header and an accept that hands back up to seven
// fields of the chosen row.

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <functional>

#include "lookup/ModConsu.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace zul {

class Grid;

// The query a search runs: `base` with the condition on `campo` for `texto` put after its
// WHERE (or added as one), and the order. An empty text gives the base alone.
QString ConsultaBusqueda(const QString& base, const QString& campo, int tipo, const QString& texto,
                         int modoBusqueda);
// The query of a sort by the header of column `campo`.
QString ConsultaOrden(const QString& base, const QString& campo);
// Grid width in twips for a total of column widths, on a screen that wide (twips).
int AnchoGrillaNueCons(int totalColumnas, int anchoPantalla);
// Window width in twips for a grid that wide, as the activation sets it.
int AnchoVentanaNueCons(int anchoGrilla);
// Items of the "Buscar por" list from captions joined by "|"; blank ones show as "-".
QStringList ItemsBuscar(const QString& encabezados);

class NueCons : public QDialog {
    Q_OBJECT
  public:
    explicit NueCons(QWidget* parent = nullptr);

    // Set by the caller before the dialog is shown; read back after it closes.
    QString CampoBusqueda;
    int ModoBusqueda = 0;
    QString SqlConsulta;
    std::array<QString, 7> Campo;
    Resultados Resultado;

    // Captions separated by "|": the grid's columns and the "Buscar por" list.
    void PrepararColumnas(const QString& encabezados);

    // Runs when the dialog is shown: first load, sizes, search column.
    void Form_Activate();
    void Buscar();
    void Aceptar();
    void Cancelar();
    void OrdenarPorColumna(int col);
    void cboBuscar_Click();

    Grid* grilla() const { return Grilla; }
    QLineEdit* cajaBusqueda() const { return texto; }
    QComboBox* comboBuscar() const { return cboBuscar; }
    // Field names and type classes of the rows on show.
    QStringList camposResultado() const { return campos_; }
    int tipoCampo(const QString& campo) const;
    // The query of the rows on show.
    QString consultaActual() const { return consulta_; }

    // Test seam: when set, runs instead of the modal loop, with the dialog loaded and shown.
    static std::function<void(NueCons&)> alMostrar;
    int ejecutar();

  protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    // Reads `sql` into the grid; on a refused query tells the user and keeps the rows on show.
    bool Cargar(const QString& sql);
    void AjustarAncho(int total);

    QLineEdit* texto;
    Grid* Grilla;
    QComboBox* cboBuscar;
    QLabel* Label1;
    QLabel* Label2;
    QStringList encabezados_;
    QStringList campos_;
    QList<int> tipos_;
    std::vector<std::vector<QVariant>> filas_;
    QString consulta_;
    bool activada_ = false;
};

}  // namespace zul
