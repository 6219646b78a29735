#pragma once
// What every master-data window shares: a column of text boxes (`texto`) with their captions
// (`Label1`), a key box looked up when it is left, F2 lookups, Enter/Esc, date boxes, and the
// four buttons that save, delete, clear and close. A window is a small subclass: it passes its
// boxes as a table and overrides the hooks below where it departs from the common behaviour.

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <QVector>
#include <QWidget>
#include <functional>
#include <optional>

#include "common/Moneda.h"

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zul {

class Database;
class DatabaseError;
class Recordset;
class Validacion;

constexpr int vbKeyF2 = 113;
// Engine option: a failing statement raises an error.
constexpr int dbFailOnError = 128;

// What a box is in its window.
enum OpcionCaja {
    kCajaDato = 0,
    kCajaClave = 1,       // the record's key: grey, "F2: Consulta" beside it, locked once loaded
    kCajaParteClave = 2,  // a further part of the key: grey
    kCajaMuestra = 4,     // shows a looked-up or stored value: read-only
    kCajaAlLado = 8,      // sits beside the box before it, on its row, with no caption
    kCajaNumero = 16,     // holds a 32-bit number: wide enough for all its digits in any font
};

// One row of a window's box table, in tab order.
struct CajaMantenimiento {
    int indice;
    QString etiqueta;
    QString tag;  // field descriptor: item 2 "4" or "8" makes a date box
    int ancho;    // twips
    int opciones = kCajaDato;
    int largo = 0;  // input limit; 0 = none
};

// A box's F2 lookup: the query, its search field, caption, column captions joined by "/",
// columns shown, and the fields that go into which boxes.
struct ConsultaCaja {
    QString sql;
    QString campoBusqueda;
    QString titulo;
    QString encabezados;
    int columnas;
    QList<QPair<QString, int>> pares;
};

// The categories lookup, the same from every window that asks for a category code.
ConsultaCaja ConsultaCategorias(int caja);

// A field the save requires: its box, the message when it is missing and, where "given" means
// more than "not empty", the test of the box's text. A refusal of what was typed is shown with
// the exclamation, a missing field with the information icon.
struct Requerido {
    int caja;
    QString mensaje;
    std::function<bool(const QString&)> valido = {};
    bool rechazo = false;
};

// A money box's amount held whole (the box's kind names it in the message).
Requerido ImporteEnRango(int caja, CajaImporte clase = CajaImporte::Importe);
// A salary box's amount not below zero; `que` names it ("El sueldo").
Requerido ImporteNoNegativo(int caja, const QString& que);

// When a new key becomes a row: at once when the key box is left, or when the record is saved.
enum VarianteAlta { kAltaInmediata, kAltaAlGrabar };

// A save or delete the window turns down: the message, its title and the box that gets the
// focus (-1: none).
struct Rechazo {
    QString mensaje;
    QString titulo = {};
    int caja = -1;
};

// The box of the table that holds the key (first kCajaClave), or -1.
int CajaClaveDe(const QList<CajaMantenimiento>& cajas);
// Does the descriptor make a date box?
bool EsCajaFecha(const QString& tag);

class Mantenimiento : public QWidget {
    Q_OBJECT
  public:
    Mantenimiento(const QString& nombre, const QString& titulo,
                  const QList<CajaMantenimiento>& cajas, QWidget* parent = nullptr);
    ~Mantenimiento() override;

    QLineEdit* texto(int indice) const;  // null for an index the window does not use
    QLabel* Label1(int indice) const;
    QPushButton* btnGrabar() const { return btnGrabar_; }
    QPushButton* btnEliminar() const { return btnEliminar_; }
    QPushButton* btnCancelar() const { return btnCancelar_; }
    QPushButton* btnSalir() const { return btnSalir_; }
    // The key box's index, or -1 for a window without one.
    int CajaClave() const { return clave_; }
    // 0 at opening and after a clear, 1 when the record on screen exists, 2 when it is new.
    quint8 Modo = 0;
    // A record was looked up (or created) and is on screen.
    bool HayRegistro() const { return registro_; }

    // Runs once, when the window is first shown: centring, then the window's own start-up.
    void Form_Load();
    virtual void texto_GotFocus(int indice);
    // The focus left box `indice` for another control of the window (not for a menu or
    // another window); nothing by default.
    virtual void texto_LostFocus(int) {}
    void texto_KeyDown(int indice, int keyCode);
    // False keeps the focus in the box (Cancel).
    bool texto_Validate(int indice);
    void btnGrabar_Click();
    void btnEliminar_Click();
    void btnCancelar_Click();
    void btnSalir_Click();

  protected:
    // ---- hooks ----
    // The window's own start-up, after centring; texts it loads are shown whole, as below.
    virtual void AlCargar() {}
    // F2 on box `caja`; none by default.
    virtual std::optional<ConsultaCaja> ConsultaDe(int caja) const;
    // Validation of box `indice`; by default the key box is looked up (ValidarClave).
    virtual bool ValidarCaja(int indice);
    virtual VarianteAlta Variante() const { return kAltaInmediata; }
    // The query of the key on screen; empty when there is nothing to look up.
    virtual QString ConsultaClave() const { return {}; }
    // The statement that creates a row with only the key (insert at once), and what the window
    // says before it runs.
    virtual QString AltaClave() const { return {}; }
    virtual void AntesDeAlta() {}
    // Fills the window from the row found. A stored text is shown whole, even past what its
    // box lets a user type: cut, it would be saved back as another text.
    virtual void MostrarRegistro(const Recordset&) {}
    // Whether the key box stays open after its lookup; by default it locks. A window may keep it
    // open for a record found, so that another key can be typed over it.
    virtual bool ClaveAbierta(bool /*existe*/) const { return false; }
    // The key was not found (and, inserting at once, its row was created). By default the focus
    // goes to the box after the key box and the validation answers Cancel.
    virtual bool AlNoExistir();
    // Save: the required fields in order, a date in every date box that is not empty (each
    // told by its caption), the window's own checks (false stops the save, the window having
    // said why), then, in one transaction, the test that the record loaded is still as it was
    // loaded, the window's checks of what the write relies on, the write on `db` and the saved
    // message. The write answers false when the record on screen is no longer in its table (its
    // update changed no row).
    virtual QList<Requerido> Requeridos() const { return {}; }
    virtual bool PuedeGrabar() { return true; }
    virtual std::optional<Rechazo> ComprobarAlGrabar(Database&) { return std::nullopt; }
    virtual bool Grabar(Database& db) = 0;
    virtual QString MensajeGrabado() const;
    virtual std::optional<QString> TituloGrabado() const { return QString(); }
    virtual int EstiloGrabado() const;
    // After the saved message: by default the window is cleared.
    virtual void DespuesDeGrabar();
    // Delete: the confirmation's style, the query of rows that keep the record (empty: none)
    // and the refusal, and the statements that delete it, run in one transaction with the
    // query; the last one deletes the record's own row.
    virtual int EstiloConfirmacion() const;
    virtual QString ConsultaDependientes() const { return {}; }
    virtual QString MensajeDependientes() const { return {}; }
    virtual QStringList SentenciasEliminar() const { return {}; }
    virtual void DespuesDeEliminar() {}
    // Clear: what the window resets beyond the boxes.
    virtual void Limpiar() {}
    // What the clerk does to have the record as it now stands on screen.
    virtual QString ComoVolverACargar() const;

    // ---- for the subclasses ----
    // The pattern's key lookup: the record shown (Modo 1), or a new one (Modo 2).
    bool ValidarClave();
    // Adds a control of the window's own (combo, option buttons, check box) below the boxes,
    // after them in tab order; Enter and Esc move on from it.
    void AgregarControl(QWidget* control, const QString& etiqueta = QString());
    // Puts `w` beside box `caja` (a name shown for a code), after what is already there.
    void PonerJunto(int caja, QWidget* w);
    void MostrarError(const DatabaseError& e) const;
    // The refusal of MensajeDependientes when ConsultaDependientes finds a row on `db`.
    std::optional<Rechazo> RechazoPorDependientes(Database& db) const;

  protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    void Armar(const QString& titulo, const QList<CajaMantenimiento>& cajas);
    QList<QLineEdit*> CajasEnOrden() const;
    void AlCambiarFoco(QWidget* ahora);
    // A key on screen other than the one looked up, or none looked up.
    std::optional<Rechazo> ClaveCambiada() const;
    // The row loaded, read again inside the write's transaction: gone or changed since.
    std::optional<Rechazo> CargadoCambiado(Database& db) const;
    // After the test of the key, runs `escribir` in one transaction with the test of the row
    // loaded; a refusal it answers rolls back. True when it was committed; otherwise the user
    // was told why.
    bool Escribir(const std::function<std::optional<Rechazo>(Database&)>& escribir);
    // Says what happened and how to load the record again.
    Rechazo Recargar(const QString& que) const;
    void Rechazar(const Rechazo& r);

    QVector<QLineEdit*> texto_;
    QVector<QLabel*> Label1_;
    QVector<int> orden_;  // box indices in tab order
    QList<QWidget*> propios_;
    QGridLayout* rejilla_ = nullptr;
    QVector<QHBoxLayout*> junto_;  // per row, what stands beside the box
    QVector<int> fila_;            // the row of each box
    QPushButton* btnGrabar_ = nullptr;
    QPushButton* btnEliminar_ = nullptr;
    QPushButton* btnCancelar_ = nullptr;
    QPushButton* btnSalir_ = nullptr;
    Validacion* validacion_ = nullptr;
    int clave_ = -1;
    // The query of the key looked up (empty: none), and the row it found or created.
    QString claveCargada_;
    std::optional<QVariantList> filaCargada_;
    bool registro_ = false;
    bool cargada_ = false;
};

}  // namespace zul
