#pragma once
// The pick list of every maintenance window's F2: the rows of a query in a table, a search box,
// a sort by the current column and an accept that hands back up to seven fields of the chosen
// row. Consultar (Consultar.h) prepares it, shows it and copies the result back.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

#include "lookup/ModConsu.h"
#include "platform/MedidorTexto.h"

class QLineEdit;
class QPushButton;
class QTableView;

namespace zul {

class ModeloConsulta;

// The query a search runs on `base`: the condition on `campo` (of type class `clase`) for
// `texto`, and its order. An empty text gives the base alone; a base that sorts itself gets the
// condition before its ORDER BY.
QString TextoBusqueda(const QString& base, const QString& campo, int clase, const QString& texto,
                      int modoBusqueda);
// Column width in twips for a field of type class `clase`.
int AnchoColumnaConsulta(int clase);
// Grid width in twips for a total of column widths, and the window's width for that grid.
int AnchoGrillaConsulta(int totalColumnas);
int AnchoVentanaConsulta(int anchoGrilla);
// Captions of the first `columnas` columns out of a text cut at "/"; the last shown column
// takes the rest of the text.
QStringList CortarEncabezados(const QString& encabezados, int columnas);

class consulta : public QDialog {
    Q_OBJECT
  public:
    explicit consulta(QWidget* parent = nullptr);
    ~consulta() override;

    // Set by Consultar before the dialog is shown; read back after it closes.
    QString CampoBusqueda;
    int ModoBusqueda = 0;
    QString SqlConsulta;
    QString SqlFiltro;
    Resultados Campo;
    int Columnas = 0;
    Resultados Resultado;

    void PonerEncabezados(const QStringList& titulos);

    // Runs when the dialog is first shown: rows loaded, widths set.
    void Form_Activate();
    void Buscar();
    void buscar_Click();
    void orden_Click();
    void aceptar_Click();
    void salir_Click();

    QLineEdit* texto() const { return texto_; }
    QTableView* grilla() const { return grilla_; }
    // The query of the rows on show, and the number of those rows.
    QString consultaActual() const { return consulta_; }
    int filas() const;
    // Text of a cell as the grid shows it (row and column from 0).
    QString celda(int fila, int col) const;

    // Test seam: when set, runs instead of the modal loop, with the dialog loaded and shown.
    static std::function<void(consulta&)> alMostrar;
    int ejecutar();

  protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

  private:
    // Reads `sql` into the grid; a refused query is told and the rows on show stay.
    bool Cargar(const QString& sql);
    void AlCambiarFoco(QWidget* antes, QWidget* ahora);
    // Widens the shown columns whose caption or cells do not fit, and the grid and the dialog
    // with them, as far as every column stays in view; past that, long texts are cut.
    void EnsancharColumnas();
    // Pixels of the grid's width that are not for columns: frame, row numbers, scroll bar.
    int Adornos() const;

    QLineEdit* texto_;
    QTableView* grilla_;
    QPushButton* aceptar_;
    QPushButton* buscar_;
    QPushButton* orden_;
    QPushButton* salir_;
    ModeloConsulta* modelo_;
    QString consulta_;
    int columnaActual_ = 0;
    bool activada_ = false;
    bool buscadaAlSalir_ = false;  // leaving the box for "&Buscar" already ran its search
    MedidorTexto medidor_;         // cell texts in the grid's font
};

}  // namespace zul
