#include "masterdata/Mantenimiento.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "common/Formato.h"
#include "common/Globales.h"
#include "common/Teclado.h"
#include "lookup/Consultar.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "platform/Validacion.h"
#include "platform/Ventana.h"

namespace zul {
namespace {

const QColor kGrisClave(224, 224, 224);
// The digits of the largest 32-bit number: a number box shows them all.
constexpr int kDigitosNumero = 10;
// A row: its caption, then its box with what stands beside it (two columns wide); the last
// column takes the spare room.
enum ColumnaRejilla { kColEtiqueta, kColCaja, kColJunto, kColResto };
const QString kSinCambios = QStringLiteral(" No se realizó ningún cambio.");
// The record loaded was deleted, or changed, since: in another window or another copy.
const QString kYaNoExiste = QStringLiteral(
    "El registro ya no existe: se eliminó (en otra ventana o en otra copia del programa) "
    "después de cargarlo. ");
const QString kCambiado = QStringLiteral(
    "El registro cambió (en otra ventana o en otra copia del programa) después de cargarlo. ");
// The key on screen is not the one looked up.
const QString kSinCargar = QStringLiteral(
    "El registro en pantalla no se llegó a buscar ni a crear: ingrese su código y salga de la "
    "casilla para buscarlo.");
const QString kOtraClave =
    QStringLiteral("El código en pantalla (o la empresa actual) no es el del registro cargado. ");

QVariantList Fila(const Recordset& rs) {
    QVariantList fila;
    for (int i = 0; i < rs.fieldCount(); ++i) fila << rs.value(i);
    return fila;
}

}  // namespace

int CajaClaveDe(const QList<CajaMantenimiento>& cajas) {
    for (const CajaMantenimiento& c : cajas)
        if (c.opciones & kCajaClave) return c.indice;
    return -1;
}

bool EsCajaFecha(const QString& tag) {
    const QString tipo = ItemLista(tag, 2);
    return tipo == QLatin1String("4") || tipo == QLatin1String("8");
}

Mantenimiento::Mantenimiento(const QString& nombre, const QString& titulo,
                             const QList<CajaMantenimiento>& cajas, QWidget* parent)
    : QWidget(parent) {
    setObjectName(nombre);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(FuenteVentana());
    Armar(titulo, cajas);
}

Mantenimiento::~Mantenimiento() {
    // Closing moves the focus: no check may run on a window that is going away.
    delete validacion_;
    disconnect(qApp, nullptr, this, nullptr);
}

void Mantenimiento::Armar(const QString& titulo, const QList<CajaMantenimiento>& cajas) {
    setWindowTitle(titulo);
    clave_ = CajaClaveDe(cajas);
    int mayor = -1;
    for (const CajaMantenimiento& c : cajas) mayor = std::max(mayor, c.indice);
    texto_.fill(nullptr, mayor + 1);
    Label1_.fill(nullptr, mayor + 1);
    fila_.fill(-1, mayor + 1);

    rejilla_ = new QGridLayout;
    rejilla_->setColumnStretch(kColResto, 1);
    int fila = -1;
    for (const CajaMantenimiento& c : cajas) {
        const bool alLado = (c.opciones & kCajaAlLado) && fila >= 0;
        if (!alLado) {
            ++fila;
            // Each row's box, and right beside it a key's F2 hint, the boxes set beside it and
            // names shown.
            junto_ << new QHBoxLayout;
            rejilla_->addLayout(junto_.last(), fila, kColCaja, 1, 2, Qt::AlignLeft);
        }
        auto* caja = new QLineEdit(this);
        caja->setObjectName(QStringLiteral("texto_%1").arg(c.indice));
        caja->setProperty("Tag", c.tag);
        int ancho = Twips(c.ancho);
        if (c.opciones & kCajaNumero)
            ancho =
                std::max(ancho, AnchoParaMostrar(caja, QString(kDigitosNumero, QLatin1Char('0'))));
        caja->setFixedWidth(ancho);
        if (c.largo > 0) caja->setMaxLength(c.largo);
        if (c.opciones & kCajaMuestra) caja->setReadOnly(true);
        if (c.opciones & (kCajaClave | kCajaParteClave)) {
            // Locked once its record is on screen, the key still reads as plainly as any box.
            QPalette gris = caja->palette();
            gris.setColor(QPalette::Base, kGrisClave);
            gris.setColor(QPalette::Disabled, QPalette::Text,
                          gris.color(QPalette::Active, QPalette::Text));
            caja->setPalette(gris);
        }
        auto* etiqueta = new QLabel(c.etiqueta, this);
        etiqueta->setObjectName(QStringLiteral("Label1_%1").arg(c.indice));
        etiqueta->setBuddy(caja);
        texto_[c.indice] = caja;
        Label1_[c.indice] = etiqueta;
        orden_ << c.indice;
        fila_[c.indice] = fila;
        if (alLado) {
            etiqueta->hide();
            junto_[fila]->addWidget(caja, 0, Qt::AlignLeft);
        } else {
            rejilla_->addWidget(etiqueta, fila, kColEtiqueta);
            junto_[fila]->addWidget(caja, 0, Qt::AlignLeft);
        }
        if (c.opciones & kCajaClave) {
            auto* f2 = new QLabel(QStringLiteral("F2: Consulta"), this);
            f2->setObjectName(QStringLiteral("lblF2_%1").arg(c.indice));
            junto_.last()->addWidget(f2);
        }
        // Watched before the date box's own handling: a date is complete when the leave
        // handling sees it.
        caja->installEventFilter(this);
        if (EsCajaFecha(c.tag))
            InstalarCajaFecha(caja);
        else
            InstalarTeclaEnter(caja);
    }

    auto boton = [this](const char* nombre, const QString& cara, QStyle::StandardPixmap dibujo) {
        auto* b = new QPushButton(style()->standardIcon(dibujo), cara, this);
        b->setObjectName(QString::fromLatin1(nombre));
        return b;
    };
    btnGrabar_ = boton("btnGrabar", QStringLiteral("&Grabar"), QStyle::SP_DialogSaveButton);
    btnEliminar_ = boton("btnEliminar", QStringLiteral("&Eliminar"), QStyle::SP_TrashIcon);
    btnCancelar_ = boton("btnCancelar", QStringLiteral("&Cancelar"), QStyle::SP_DialogCancelButton);
    btnSalir_ = boton("btnSalir", QStringLiteral("&Salir"), QStyle::SP_DialogCloseButton);
    auto* botones = new QHBoxLayout;
    for (QPushButton* b : {btnGrabar_, btnEliminar_, btnCancelar_, btnSalir_})
        botones->addWidget(b);

    auto* principal = new QVBoxLayout(this);
    principal->addLayout(rejilla_);
    principal->addStretch(1);
    principal->addLayout(botones);

    QWidget* anterior = nullptr;
    for (int i : orden_) {
        if (anterior) setTabOrder(anterior, texto_[i]);
        anterior = texto_[i];
    }
    for (QPushButton* b : {btnGrabar_, btnEliminar_, btnCancelar_, btnSalir_}) {
        if (anterior) setTabOrder(anterior, b);
        anterior = b;
    }

    validacion_ = new Validacion(this);
    for (int i : orden_) validacion_->registrar(texto_[i], [this, i] { return texto_Validate(i); });
    validacion_->accion(btnGrabar_, [this] { btnGrabar_Click(); });
    validacion_->accion(btnEliminar_, [this] { btnEliminar_Click(); });
    validacion_->accion(btnCancelar_, [this] { btnCancelar_Click(); });
    validacion_->accion(btnSalir_, [this] { btnSalir_Click(); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* ahora) { AlCambiarFoco(ahora); });
}

void Mantenimiento::AgregarControl(QWidget* control, const QString& etiqueta) {
    const int fila = rejilla_->rowCount();
    if (!etiqueta.isEmpty()) {
        auto* l = new QLabel(etiqueta, this);
        l->setObjectName(control->objectName() + QStringLiteral("_etiqueta"));
        l->setBuddy(control);
        rejilla_->addWidget(l, fila, kColEtiqueta);
    }
    rejilla_->addWidget(control, fila, kColCaja, 1, 2, Qt::AlignLeft);
    // After the boxes and the controls added before, ahead of the buttons.
    QWidget* anterior =
        propios_.isEmpty() ? (orden_.isEmpty() ? nullptr : texto_[orden_.last()]) : propios_.last();
    QList<QWidget*> enfocables = {control};
    if (control->focusPolicy() == Qt::NoFocus) enfocables = control->findChildren<QWidget*>();
    for (QWidget* w : enfocables) {
        if (w->focusPolicy() == Qt::NoFocus) continue;
        if (anterior) setTabOrder(anterior, w);
        setTabOrder(w, btnGrabar_);
        InstalarTeclaEnter(w);
        anterior = w;
        propios_ << w;
    }
}

void Mantenimiento::PonerJunto(int caja, QWidget* w) {
    const int fila = caja >= 0 && caja < fila_.size() ? fila_[caja] : -1;
    if (fila >= 0) junto_[fila]->addWidget(w);
}

QLineEdit* Mantenimiento::texto(int indice) const {
    return indice >= 0 && indice < texto_.size() ? texto_[indice] : nullptr;
}

QLabel* Mantenimiento::Label1(int indice) const {
    return indice >= 0 && indice < Label1_.size() ? Label1_[indice] : nullptr;
}

void Mantenimiento::MostrarError(const DatabaseError& e) const {
    MsgBox(TextoError(e.numero(), e.descripcion()));
}

bool Mantenimiento::eventFilter(QObject* objeto, QEvent* evento) {
    auto* caja = qobject_cast<QLineEdit*>(objeto);
    const int i = caja ? static_cast<int>(texto_.indexOf(caja)) : -1;
    if (i >= 0 && evento->type() == QEvent::FocusOut) {
        const auto razon = static_cast<QFocusEvent*>(evento)->reason();
        if (razon != Qt::PopupFocusReason && razon != Qt::ActiveWindowFocusReason)
            texto_LostFocus(i);
    }
    // F2 looks up whether Shift, Ctrl or Alt is held with it.
    if (i >= 0 && evento->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(evento)->key() == Qt::Key_F2) {
        texto_KeyDown(i, vbKeyF2);
        return true;
    }
    return QWidget::eventFilter(objeto, evento);
}

void Mantenimiento::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!cargada_) {
        cargada_ = true;
        Form_Load();
    }
}

void Mantenimiento::Form_Load() {
    Centrar(this);
    const TextosEnteros enteros(CajasEnOrden());
    AlCargar();
}

QList<QLineEdit*> Mantenimiento::CajasEnOrden() const {
    QList<QLineEdit*> cajas;
    for (int i : orden_) cajas << texto_[i];
    return cajas;
}

void Mantenimiento::AlCambiarFoco(QWidget* ahora) {
    // Indices a window leaves unused hold no box: a focus outside the boxes must not match them.
    auto* caja = qobject_cast<QLineEdit*>(ahora);
    const int i = caja ? static_cast<int>(texto_.indexOf(caja)) : -1;
    if (i >= 0) texto_GotFocus(i);
}

void Mantenimiento::texto_GotFocus(int indice) {
    // A date box has already shown its template (the date box's own focus handling).
    QLineEdit* caja = texto_[indice];
    caja->setSelection(0, static_cast<int>(caja->text().size()));
}

void Mantenimiento::texto_KeyDown(int indice, int keyCode) {
    if (keyCode != vbKeyF2) return;
    const std::optional<ConsultaCaja> c = ConsultaDe(indice);
    if (!c) return;
    QList<ParConsulta> pares;
    for (const auto& [campo, caja] : c->pares) pares << ParConsulta{campo, texto(caja)};
    Consultar(c->sql, c->campoBusqueda, c->titulo, c->encabezados, c->columnas, pares);
}

bool Mantenimiento::texto_Validate(int indice) {
    return ValidarCaja(indice);
}

std::optional<ConsultaCaja> Mantenimiento::ConsultaDe(int) const {
    return std::nullopt;
}

bool Mantenimiento::ValidarCaja(int indice) {
    return indice == clave_ ? ValidarClave() : true;
}

bool Mantenimiento::ValidarClave() {
    const QString sql = ConsultaClave();
    if (sql.isEmpty()) return true;
    claveCargada_.clear();
    filaCargada_.reset();
    bool existe = false;
    try {
        Database& db = Database::open(RutaBase);
        Recordset rs = db.openRecordset(sql);
        existe = !rs.vacio();
        if (existe) {
            Modo = 1;
            filaCargada_ = Fila(rs);
            const TextosEnteros enteros(CajasEnOrden());
            MostrarRegistro(rs);
        } else {
            Modo = 2;
            if (Variante() == kAltaInmediata) {
                AntesDeAlta();
                db.execute(AltaClave(), dbFailOnError);
                filaCargada_ = Fila(db.openRecordset(sql));
            }
        }
    } catch (const DatabaseError& e) {
        // Nothing was looked up nor created: the key stays open for another try.
        Modo = 0;
        filaCargada_.reset();
        MostrarError(e);
        return false;
    }
    registro_ = existe || Variante() == kAltaInmediata;
    if (QLineEdit* caja = texto(clave_)) caja->setEnabled(ClaveAbierta(existe));
    const bool sigue = existe ? true : AlNoExistir();
    // The key as the window shows it once loaded (a new number given out included).
    if (Modo != 0) claveCargada_ = ConsultaClave();
    return sigue;
}

std::optional<Rechazo> Mantenimiento::ClaveCambiada() const {
    if (ConsultaClave() == claveCargada_) return std::nullopt;
    if (claveCargada_.isEmpty()) return Rechazo{kSinCargar + kSinCambios};
    return Recargar(kOtraClave);
}

std::optional<Rechazo> Mantenimiento::CargadoCambiado(Database& db) const {
    if (!filaCargada_) return std::nullopt;
    const Recordset rs = db.openRecordset(claveCargada_);
    if (rs.vacio()) return Recargar(kYaNoExiste);
    if (Fila(rs) != *filaCargada_) return Recargar(kCambiado);
    return std::nullopt;
}

Rechazo Mantenimiento::Recargar(const QString& que) const {
    return Rechazo{que + ComoVolverACargar() + kSinCambios};
}

QString Mantenimiento::ComoVolverACargar() const {
    return QStringLiteral("Presione Cancelar y vuelva a buscarlo.");
}

bool Mantenimiento::Escribir(const std::function<std::optional<Rechazo>(Database&)>& escribir) {
    std::optional<Rechazo> rechazo = ClaveCambiada();
    if (!rechazo) {
        try {
            Database& db = Database::open(RutaBase);
            // What the write relies on is read under the write lock: no copy changes it between.
            Transaction t(db);
            rechazo = CargadoCambiado(db);
            if (!rechazo) rechazo = escribir(db);
            if (!rechazo) t.commit();
        } catch (const DatabaseError& e) {
            // Rolled back: the record and the window stay as they were, for another try.
            MostrarError(e);
            return false;
        }
    }
    // Told once the transaction is over: a message waiting for the user must not keep the
    // other copies out of the file.
    if (rechazo) {
        Rechazar(*rechazo);
        return false;
    }
    return true;
}

std::optional<Rechazo> Mantenimiento::RechazoPorDependientes(Database& db) const {
    const QString dependientes = ConsultaDependientes();
    if (dependientes.isEmpty() || db.openRecordset(dependientes).vacio()) return std::nullopt;
    return Rechazo{MensajeDependientes()};
}

void Mantenimiento::Rechazar(const Rechazo& r) {
    MsgBox(r.mensaje, vbExclamation, r.titulo);
    if (QLineEdit* caja = texto(r.caja)) caja->setFocus();
}

bool Mantenimiento::AlNoExistir() {
    const int p = static_cast<int>(orden_.indexOf(clave_));
    if (p >= 0 && p + 1 < orden_.size()) texto_[orden_[p + 1]]->setFocus();
    return false;
}

void Mantenimiento::btnGrabar_Click() {
    for (const Requerido& r : Requeridos()) {
        QLineEdit* caja = texto(r.caja);
        const QString t = caja ? caja->text() : QString();
        if (r.valido ? r.valido(t) : !t.isEmpty()) continue;
        MsgBox(r.mensaje, r.rechazo ? vbExclamation : vbInformation, QString());
        if (caja) caja->setFocus();
        return;
    }
    // A date that does not exist is refused, never saved as no date.
    for (int i : orden_) {
        QLineEdit* caja = texto_[i];
        if (!EsCajaFecha(caja->property("Tag").toString()) || caja->text().isEmpty() ||
            EsFecha(caja->text()))
            continue;
        QString nombre = Label1_[i]->text();
        if (nombre.endsWith(u':')) nombre.chop(1);
        MsgBox(QStringLiteral("La %1 ingresada (%2) no es una fecha válida. Escriba una fecha que "
                              "exista, en la forma día/mes/año.")
                   .arg(nombre, caja->text().trimmed()),
               vbExclamation, QString());
        caja->setFocus();
        return;
    }
    if (!PuedeGrabar()) return;
    const bool grabado = Escribir([this](Database& db) -> std::optional<Rechazo> {
        if (std::optional<Rechazo> r = ComprobarAlGrabar(db)) return r;
        if (!Grabar(db)) return Recargar(kYaNoExiste);
        return std::nullopt;
    });
    if (!grabado) return;
    MsgBox(MensajeGrabado(), EstiloGrabado(), TituloGrabado());
    DespuesDeGrabar();
}

QString Mantenimiento::MensajeGrabado() const {
    return QStringLiteral("Los datos se grabaron correctamente");
}

void Mantenimiento::DespuesDeGrabar() {
    btnCancelar_Click();
}

int Mantenimiento::EstiloGrabado() const {
    return vbInformation;
}

int Mantenimiento::EstiloConfirmacion() const {
    return vbYesNo;
}

void Mantenimiento::btnEliminar_Click() {
    // With no record on screen there is nothing to delete.
    if (!registro_) return;
    if (MsgBox(QStringLiteral("Confirma eliminación del registro? "), EstiloConfirmacion(),
               QStringLiteral("Eliminación")) != vbYes)
        return;
    // The write lock first: no copy can save a dependant between the check and the delete.
    const bool eliminado = Escribir([this](Database& db) -> std::optional<Rechazo> {
        if (std::optional<Rechazo> r = RechazoPorDependientes(db)) return r;
        int filas = 0;
        for (const QString& sql : SentenciasEliminar()) filas = db.execute(sql, dbFailOnError);
        if (filas == 0) return Recargar(kYaNoExiste);
        return std::nullopt;
    });
    if (!eliminado) return;
    DespuesDeEliminar();
    btnGrabar_->setEnabled(true);
    btnEliminar_->setEnabled(true);
    btnCancelar_Click();
}

void Mantenimiento::btnCancelar_Click() {
    for (int i : orden_) {
        texto_[i]->clear();
        texto_[i]->setEnabled(true);
    }
    Modo = 0;
    registro_ = false;
    claveCargada_.clear();
    filaCargada_.reset();
    Limpiar();
    const int primera = clave_ >= 0 ? clave_ : (orden_.isEmpty() ? -1 : orden_.first());
    if (primera >= 0) texto_[primera]->setFocus();
}

void Mantenimiento::btnSalir_Click() {
    close();
}

Requerido ImporteEnRango(int caja, CajaImporte clase) {
    return {caja, MensajeImporteExcedido(clase), ImporteCabe, true};
}

Requerido ImporteNoNegativo(int caja, const QString& que) {
    const auto valido = [](const QString& t) {
        const std::optional<Moneda> m = Moneda::desdeImporte(t);
        return !m || *m >= Moneda();
    };
    return {caja, MensajeImporteNegativo(que), valido, true};
}

ConsultaCaja ConsultaCategorias(int caja) {
    return ConsultaCaja{QStringLiteral("SELECT Cat_id,cat_nombre FROM Categoria"),
                        QStringLiteral("cat_nombre"),
                        QStringLiteral("Consulta de Categorías"),
                        QStringLiteral("Código/Nombre"),
                        2,
                        {{QStringLiteral("Cat_id"), caja}}};
}

}  // namespace zul
