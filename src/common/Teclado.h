#pragma once
// Keyboard conventions of the data-entry windows and the dd/mm/yyyy date box.

#include <QDate>
#include <QList>
#include <QPointer>
#include <QString>

class QLineEdit;
class QWidget;

namespace zul {

// Enter (13) moves the focus to the next control, Esc (27) to the previous one; the key
// itself is left as it was (the control still sees it).
void TeclaEnter(QWidget* control, int tecla);
// Same moves for the period lookup: the key is consumed (set to 0), command buttons are
// left alone.
void TeclaEnterApi(int& keyAscii, QWidget* control);
// Installs TeclaEnter on a control's key presses.
void InstalarTeclaEnter(QWidget* control);

// The date box's editing, free of any widget so it can be tested as plain values.
struct EstadoFecha {
    QString texto;
    int selStart = 0;
    int selLength = 0;
};
void FechaGotFocus(EstadoFecha& caja);
int FechaKeyDown(EstadoFecha& caja, int keyCode);    // returns the key the box sees, 0 = consumed
int FechaKeyPress(EstadoFecha& caja, int keyAscii);  // idem
// What the box itself does with a key that FechaKeyPress let through: the character replaces
// the selection, and the text never grows past ten characters.
void EscribirEnFecha(EstadoFecha& caja, int keyAscii);
QString CompletarFecha(const QString& texto, const QDate& hoy = QDate::currentDate());
QString ArmarFecha(const QString& texto, bool hasta);

// Makes a line edit a date box (Tag kind "8"/"4"): the template, the keys above, completion
// when it is left, at most ten characters, the caret of a box of fixed width (InstalarCajaFija).
// Enter/Esc move the focus as TeclaEnter does. `sinPlantilla`: entering the box leaves its text as
// it is (windows that propose their own).
enum EntradaFecha { conPlantilla, sinPlantilla };
void InstalarCajaFecha(QLineEdit* caja, EntradaFecha entrada = conPlantilla);

// A box's length limit bounds what is typed, never what is stored: while one of these lives,
// texts set into its boxes stay whole. Afterwards a box holding more than its limit may be
// edited within the length it holds, and its limit comes back once its text fits it.
class TextosEnteros {
  public:
    explicit TextosEnteros(const QList<QLineEdit*>& cajas);
    ~TextosEnteros();
    TextosEnteros(const TextosEnteros&) = delete;
    TextosEnteros& operator=(const TextosEnteros&) = delete;

  private:
    QList<QPointer<QLineEdit>> cajas_;
};

}  // namespace zul
