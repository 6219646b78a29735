#pragma once
// Choice of the current company: lists the companies, marks the current one with "->",
// stores the choice in the firm row and shows it in the main window's title.

#include <QWidget>

class QPushButton;

namespace zul {

class Grid;

class SelEmpresa : public QWidget {
    Q_OBJECT
  public:
    explicit SelEmpresa(QWidget* parent = nullptr);

    void Form_Load();
    void Form_Activate();
    void bnuevo_Click();
    void bSalir_Click();
    void CargarEmpresas();
    void MarcarEmpresaActual();

    Grid* Grilla;
    QPushButton* bnuevo;
    QPushButton* bSalir;

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void marcoCambiado(Qt::WindowStates antes, Qt::WindowStates ahora);
    // The list widens to show every company's name whole, as far as the screen allows.
    void AjustarAncho();

    qint16 ColCodigo = -1;
    qint16 ColNombre = -1;
};

}  // namespace zul
