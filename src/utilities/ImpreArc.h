#pragma once
// Which installed printer each printer role uses on this computer, kept in table impresoras
// under the computer's name. Only the general role is shown; the other roles keep their
// boxes out of sight and are loaded and saved all the same.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <QtGlobal>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace zul {

// The statements that store this computer's row; `nombres` are the four roles in column order
// (ticket, invoice A, invoice B, other), "" for the default printer.
QString SqlInsertarImpresoras(const QString& equipo, const QStringList& nombres);
QString SqlActualizarImpresoras(const QString& equipo, const QStringList& nombres);

class ImpreArc : public QWidget {
    Q_OBJECT
  public:
    // The boxes: the four roles in the order of their columns, then the landscape listings.
    enum { kTicket = 0, kFacturaA, kFacturaB, kOtros, kListados, kCombos };
    // Entries every list starts with.
    enum { kPredeterminada = 0, kControladorFiscal = 1 };

    explicit ImpreArc(QWidget* parent = nullptr);

    void Form_Load();
    void Grabar_Click();
    void salir_Click();
    // Selects the first entry equal to `texto` (with case); no match leaves the selection.
    static void BuscarCombo(QComboBox* combo, const QString& texto);

    QComboBox* Combo(int k) const { return Combo_[k]; }
    quint8 modo() const { return Modo; }

  private:
    void ArmarVentana();
    void CargarFila();

    QComboBox* Combo_[kCombos] = {};
    QLabel* Label_[kCombos] = {};
    QFrame* Frame1 = nullptr;
    QPushButton* Grabar = nullptr;
    QPushButton* salir = nullptr;
    // 1: this computer has a row (the save updates it); 2: no row yet (the save inserts one).
    quint8 Modo = 2;
};

}  // namespace zul
