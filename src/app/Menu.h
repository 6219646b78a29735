#pragma once
// The main window: an MDI frame with the program's menu, a row of toolbar images, the logo
// and a status bar with the program's date and folder. It fixes the current company at start.

#include <QMainWindow>
#include <QStringList>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QToolButton;

namespace zul {

class Menu : public QMainWindow {
    Q_OBJECT
  public:
    explicit Menu(QWidget* parent = nullptr);

    // Reads the current company, this computer's printers and fills the status bar; false when
    // the database cannot be read (the user was told and the program must end).
    bool MDIForm_Load();
    void TextoPanel(int panel, const QString& texto);
    QMdiArea* Area() const { return area_; }

    void mnuEmpresa_Click();
    void mnuEmpresas_Click();
    void mnuSelEmpresa_Click();
    void mnuCategorias_Click();
    void mEmpleos_Click();
    void mnuActSueld_Click();
    void mActSueld_Click();
    void mnuEmpleados_Click();
    void mnuPrestamos_Click();
    void mnuDDJJ_Click();
    void mEnviarMail_Click();
    void mimpresora_Click();
    void mcopia_Click();
    void mcalculadora_Click();
    void mayuda_Click();
    void macerca_Click();
    void mnuSalir_Click();
    void Image1_Click();
    void Image2_Click();
    void Image3_Click();
    void Image4_Click();
    void Image5_Click();

    // Starts an outside program without waiting; true when it started. Tests replace it.
    static std::function<bool(const QString& programa, const QStringList& argumentos)>
        IniciarPrograma;

  protected:
    void resizeEvent(QResizeEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

  private:
    void MDIForm_Resize();
    void MDIForm_Unload();
    void AbrirSelEmpresa();
    void AbrirDecJurada();
    bool HayEmpresa(const QString& aviso);
    QAction* Entrada(QMenu* menu, const QString& nombre, const QString& texto,
                     void (Menu::*handler)());
    QToolButton* Imagen(const QString& nombre, int izquierda, const QString& tip, int dibujo,
                        void (Menu::*handler)());

    QMdiArea* area_ = nullptr;
    QWidget* PictContable = nullptr;
    QLabel* ImgContable = nullptr;
    QLabel* panel_[2] = {};
};

}  // namespace zul
