#include "platform/Ventana.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QEventLoop>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <QtMath>
#include <algorithm>
#include <functional>
#include <utility>

namespace zul {

QFont FuenteVentana() {
    QFont f(QStringLiteral("Liberation Sans"), 8);
    f.setFamilies(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial")});
    return f;
}
namespace {

// What a text box takes from its width besides the text: its frame, its contents and text
// margins, the two pixels it keeps each side, and a pixel for the cursor at the end.
int BordesCaja(const QLineEdit* caja) {
    constexpr int kMargenLinea = 2;
    constexpr int kCursor = 1;
    const int marco = caja->hasFrame()
                          ? caja->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, caja)
                          : 0;
    const QMargins m = caja->contentsMargins() + caja->textMargins();
    return 2 * marco + m.left() + m.right() + 2 * kMargenLinea + kCursor;
}

QMdiArea* AreaPrincipal() {
    QWidget* principal = VentanaPrincipal();
    return principal ? principal->findChild<QMdiArea*>() : nullptr;
}

QMdiSubWindow* MarcoDe(QWidget* ventana) {
    return qobject_cast<QMdiSubWindow*>(ventana->parentWidget());
}

// Windows of their own that count as loaded: not menus, tips or the main window.
bool EsVentanaSuelta(QWidget* w) {
    const Qt::WindowType tipo = w->windowType();
    return (tipo == Qt::Window || tipo == Qt::Dialog) && !w->isHidden() &&
           w->objectName() != QLatin1String("Menu");
}

// Sees the window hide itself (its own close) while its frame stays.
class FiltroCierre : public QObject {
  public:
    FiltroCierre(QObject* padre, std::function<void()> alCerrar)
        : QObject(padre), alCerrar_(std::move(alCerrar)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Hide) alCerrar_();
        return false;
    }

  private:
    std::function<void()> alCerrar_;
};

class FiltroEnterBoton : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() != QEvent::KeyPress) return false;
        const auto* k = static_cast<QKeyEvent*>(evento);
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        if (!enter || (k->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        auto* boton = static_cast<QAbstractButton*>(objeto);
        if (boton->isEnabled()) boton->click();
        return true;
    }
};

// The blank of a box: the mask's, or the date template's.
QChar Blanco(const QLineEdit* caja) {
    const QString mascara = caja->inputMask();
    const auto punto = mascara.lastIndexOf(QLatin1Char(';'));
    return punto >= 0 && punto + 1 < mascara.size() ? mascara.at(punto + 1) : QLatin1Char(' ');
}

bool Llena(const QLineEdit* caja) {
    const QString t = caja->displayText();
    return !t.isEmpty() && !t.contains(Blanco(caja));
}

// The last place where a typed character still lands: the first blank, or the last character.
int UltimaParaEscribir(const QLineEdit* caja) {
    const QString t = caja->displayText();
    const auto blanco = t.indexOf(Blanco(caja));
    return static_cast<int>(blanco >= 0 ? blanco : std::max<qsizetype>(0, t.size() - 1));
}

// The whole text selected with the caret at its start: typing replaces it, and a text longer
// than the box shows its beginning.
void ElegirTodo(QLineEdit* caja) {
    const int largo = static_cast<int>(caja->displayText().size());
    caja->setSelection(largo, -largo);
}

class FiltroCajaFija : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        auto* caja = static_cast<QLineEdit*>(objeto);
        switch (evento->type()) {
            case QEvent::MouseButtonRelease: {
                // A selection dragged with the mouse stays.
                if (caja->hasSelectedText()) return false;
                // A click in a full box, on entry or not, readies it for a whole new value: a
                // caret left on its last character would drop every digit but the first.
                if (Llena(caja))
                    ElegirTodo(caja);
                else
                    caja->setCursorPosition(
                        std::min(caja->cursorPosition(), UltimaParaEscribir(caja)));
                return false;
            }
            case QEvent::KeyPress: {
                const auto* k = static_cast<QKeyEvent*>(evento);
                if (k->key() != Qt::Key_End || (k->modifiers() & Qt::ShiftModifier)) return false;
                caja->setCursorPosition(UltimaParaEscribir(caja));
                return true;
            }
            default:
                return false;
        }
    }
};

}  // namespace

void EnterPulsaBotones(QWidget* ventana) {
    const QString nombre = QStringLiteral("FiltroEnterBoton");
    auto* filtro = ventana->findChild<QObject*>(nombre, Qt::FindDirectChildrenOnly);
    if (!filtro) {
        filtro = new FiltroEnterBoton(ventana);
        filtro->setObjectName(nombre);
    }
    for (QAbstractButton* b : ventana->findChildren<QAbstractButton*>()) {
        // Check boxes and options are ticked with Space; Enter moves on from them.
        if (!qobject_cast<QPushButton*>(b) && !qobject_cast<QToolButton*>(b)) continue;
        b->installEventFilter(filtro);
    }
}

void EnfocarParaEscribir(QWidget* control) {
    control->setFocus(Qt::OtherFocusReason);
    if (auto* caja = qobject_cast<QLineEdit*>(control)) ElegirTodo(caja);
}

void InstalarCajaFija(QLineEdit* caja) {
    caja->installEventFilter(new FiltroCajaFija(caja));
}

QWidget* VentanaPrincipal() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Menu")) return w;
    return nullptr;
}

QList<QWidget*> VentanasAbiertas() {
    QList<QWidget*> lista;
    if (QMdiArea* area = AreaPrincipal())
        for (QMdiSubWindow* marco : area->subWindowList())
            if (marco->widget() && !marco->isHidden()) lista << marco->widget();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (EsVentanaSuelta(w)) lista << w;
    return lista;
}

int VentanasCargadas() {
    return static_cast<int>(VentanasAbiertas().size()) + (VentanaPrincipal() ? 1 : 0);
}

int AnchoParaMostrar(const QLineEdit* caja, const QString& texto) {
    return qCeil(QFontMetricsF(caja->font()).horizontalAdvance(texto)) + BordesCaja(caja);
}

int AnchoParaLetras(const QLineEdit* caja, int letras) {
    return letras * caja->fontMetrics().averageCharWidth() + BordesCaja(caja);
}

int AnchoMaximoVentana(const QWidget* ventana) {
    QWidget* principal = VentanaPrincipal();
    QMdiArea* area = AreaPrincipal();
    const QScreen* pantalla = principal && principal->screen() ? principal->screen()
                              : ventana->screen()              ? ventana->screen()
                                                               : QGuiApplication::primaryScreen();
    if (!pantalla) return QWIDGETSIZE_MAX;
    int bordes = 0;
    if (principal && area)
        bordes = principal->frameGeometry().width() - area->viewport()->width() +
                 2 * area->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, area);
    return pantalla->availableGeometry().width() - bordes;
}

void Centrar(QWidget* ventana) {
    if (QMdiSubWindow* marco = MarcoDe(ventana)) {
        if (QMdiArea* area = marco->mdiArea()) {
            const QSize libre = area->viewport()->size();
            marco->move(std::max(0, (libre.width() - marco->width()) / 2),
                        std::max(0, (libre.height() - marco->height()) / 2));
        }
        return;
    }
    QWidget* w = ventana->window();
    QScreen* pantalla = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!pantalla) return;
    const QRect libre = pantalla->availableGeometry();
    const QSize tam = w->frameGeometry().size();
    w->move(libre.x() + std::max(0, (libre.width() - tam.width()) / 2),
            libre.y() + std::max(0, (libre.height() - tam.height()) / 2));
}

bool TomaEntrada(const QWidget* control) {
    const auto* caja = qobject_cast<const QLineEdit*>(control);
    return (control->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && control->isEnabled() &&
           control->isVisible() && !control->focusProxy() && !control->isWindow() &&
           !qobject_cast<const QMdiSubWindow*>(control) && !(caja && caja->isReadOnly());
}

namespace {

// The first control in the window's tab order that takes input, or null.
QWidget* PrimerControl(QWidget* ventana) {
    for (QWidget* w = ventana->nextInFocusChain(); w && w != ventana; w = w->nextInFocusChain())
        if (ventana->isAncestorOf(w) && TomaEntrada(w)) return w;
    return nullptr;
}

// A window just opened: the clerk types at once, without a click or Tab first, over what the
// first box holds; and a command button reached with Tab is pressed with Enter, as with Space.
void ListaParaEscribir(QWidget* ventana) {
    EnterPulsaBotones(ventana);
    // A control the window chose for itself keeps the focus.
    QWidget* foco = ventana->focusWidget();
    if (!foco || !ventana->isAncestorOf(foco) || !TomaEntrada(foco)) foco = PrimerControl(ventana);
    if (foco) EnfocarParaEscribir(foco);
}

// The most room the work area can have: the main window as large as the screen allows.
QSize AreaMaxima(const QMdiArea* area) {
    const QWidget* principal = area->window();
    const QSize bordes = principal->frameGeometry().size() - principal->size();
    const QSize mayor = principal->screen()->availableGeometry().size() - bordes;
    return area->viewport()->size() + (mayor - principal->size()).expandedTo(QSize(0, 0));
}

// The main window grows to show a window larger than its work area, as far as the screen
// allows; what still does not fit is reached with the work area's scroll bars. Returns the work
// area's size once grown.
QSize AgrandarParaMostrar(QMdiArea* area, const QSize& tam) {
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const QSize libre = area->viewport()->size();
    // The work area takes what the window grows (its layout is applied later).
    const QSize agrandada = tam.boundedTo(AreaMaxima(area)).expandedTo(libre);
    if (agrandada == libre) return libre;
    QWidget* principal = area->window();
    principal->resize(principal->size() + agrandada - libre);
    const QRect pantalla = principal->screen()->availableGeometry();
    QRect marco = principal->frameGeometry();
    marco.moveLeft(std::clamp(marco.left(), pantalla.left(), pantalla.right() - marco.width() + 1));
    marco.moveTop(std::clamp(marco.top(), pantalla.top(), pantalla.bottom() - marco.height() + 1));
    principal->move(marco.topLeft());
    return agrandada;
}

// A long name or address is read from its beginning: a box filled while the clerk is not in it
// (a record loaded, a lookup's answer) shows the start of its text, and so does a box entered
// with its whole text selected (the box after a key, once the record is loaded).
void PrincipioALaVista(QWidget* ventana) {
    for (QLineEdit* caja : ventana->findChildren<QLineEdit*>()) {
        const auto alPrincipio = [caja] {
            if (!caja->hasFocus()) caja->setCursorPosition(0);
        };
        alPrincipio();
        QObject::connect(caja, &QLineEdit::cursorPositionChanged, caja, alPrincipio);
    }
    // After the window's own handling of the entry, which selects the text.
    QObject::connect(qApp, &QApplication::focusChanged, ventana, [ventana](QWidget*, QWidget* w) {
        auto* caja = qobject_cast<QLineEdit*>(w);
        if (caja && ventana->isAncestorOf(caja) && caja->selectionStart() == 0 &&
            caja->selectionLength() == caja->displayText().size() && caja->cursorPosition() > 0)
            ElegirTodo(caja);
    });
}

// A row of nothing but buttons: the window's commands.
bool EsFilaDeBotones(QLayoutItem* item) {
    QLayout* fila = item ? item->layout() : nullptr;
    if (!fila) return false;
    bool botones = false;
    for (int i = 0; i < fila->count(); ++i) {
        QWidget* w = fila->itemAt(i)->widget();
        if (w && !qobject_cast<QAbstractButton*>(w)) return false;
        botones = botones || w;
    }
    return botones;
}

// A window that cannot show whole where it opens: what stands above its row of buttons moves
// into a scrolled view, as tall as in the window of size `pedido`, so that every control is
// reached, lists keep their rows and the buttons stay in sight. The view follows the focus.
// Returns the room the view's scroll bars take.
QSize Desplazar(QWidget* ventana, const QSize& pedido) {
    auto* principal = qobject_cast<QBoxLayout*>(ventana->layout());
    if (!principal || principal->count() == 0 ||
        ventana->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly))
        return {};
    QLayoutItem* botones = principal->itemAt(principal->count() - 1);
    if (!EsFilaDeBotones(botones)) botones = nullptr;
    const QMargins margenes = principal->contentsMargins();
    int alto = pedido.height() - margenes.top() - margenes.bottom();
    if (botones) alto -= botones->sizeHint().height() + principal->spacing();
    // Made in the window, its controls stay in the window's tab order as they move.
    auto* contenido = new QWidget(ventana);
    contenido->setObjectName(ventana->objectName() + QStringLiteral("_contenido"));
    auto* columna = new QBoxLayout(principal->direction(), contenido);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(principal->spacing());
    while (principal->count() > (botones ? 1 : 0)) {
        const int estira = principal->stretch(0);
        QLayoutItem* item = principal->takeAt(0);
        if (QWidget* w = item->widget()) {
            columna->addWidget(w, estira, item->alignment());
            delete item;
        } else if (QLayout* l = item->layout()) {
            l->setParent(nullptr);
            columna->addLayout(l, estira);
        } else {
            columna->addItem(item);
            columna->setStretch(columna->count() - 1, estira);
        }
    }
    if (principal->direction() == QBoxLayout::TopToBottom)
        contenido->setMinimumHeight(std::max(alto, contenido->minimumSizeHint().height()));
    auto* vista = new QScrollArea(ventana);
    vista->setFocusPolicy(Qt::NoFocus);
    vista->setObjectName(ventana->objectName() + QStringLiteral("_desplazable"));
    vista->setFrameShape(QFrame::NoFrame);
    vista->setWidgetResizable(true);
    vista->setWidget(contenido);
    principal->insertWidget(0, vista, 1);
    vista->show();
    QObject::connect(qApp, &QApplication::focusChanged, vista, [vista](QWidget*, QWidget* ahora) {
        if (ahora && vista->widget()->isAncestorOf(ahora)) vista->ensureWidgetVisible(ahora);
    });
    return {vista->verticalScrollBar()->sizeHint().width(),
            vista->horizontalScrollBar()->sizeHint().height()};
}

// What the window needs at the least to show its controls.
QSize Minimo(const QWidget* ventana) {
    return ventana->minimumSizeHint().expandedTo(ventana->minimumSize());
}

// The size a window asks for: the size it was given, or what it would like; never less than
// what its contents need.
QSize Pedido(const QWidget* ventana) {
    return (ventana->testAttribute(Qt::WA_Resized) ? ventana->size() : ventana->sizeHint())
        .expandedTo(ventana->minimumSizeHint());
}

// Before a window shows: when even the least it needs, with a frame taking `adornos`, exceeds
// `maximo`, its contents scroll. Returns the size to ask for the window of size `tam`, with
// room for the scroll bar that then runs beside its contents.
QSize PrepararTamanio(QWidget* ventana, QSize tam, const QSize& adornos, const QSize& maximo) {
    const QSize falta = Minimo(ventana) + adornos - maximo;
    if (falta.width() <= 0 && falta.height() <= 0) return tam;
    // Moving a control drops the focus the window gave it.
    const QPointer<QWidget> foco = ventana->focusWidget();
    const QSize barras = Desplazar(ventana, tam);
    if (foco) foco->setFocus(Qt::OtherFocusReason);
    if (falta.height() > 0) tam.rwidth() += barras.width();
    if (falta.width() > 0) tam.rheight() += barras.height();
    return tam;
}

// The size of a window's frame, whose borders take `adornos`, for the window of size `tam` in
// the room `hay`: all of it that fits, at least what its controls need.
QSize Encajar(const QWidget* ventana, const QSize& tam, const QSize& adornos, const QSize& hay) {
    return (tam + adornos).boundedTo(hay).expandedTo(Minimo(ventana) + adornos);
}

}  // namespace

void MostrarModal(QWidget* ventana, QWidget* duenio) {
    if (duenio) ventana->setParent(duenio->window(), Qt::Dialog);
    ventana->setAttribute(Qt::WA_DeleteOnClose);
    ventana->setWindowModality(Qt::ApplicationModal);
    PrincipioALaVista(ventana);
    QEventLoop bucle;
    QObject::connect(ventana, &QObject::destroyed, &bucle, &QEventLoop::quit);
    const QScreen* pantalla = ventana->screen();
    const QSize libre = pantalla ? pantalla->availableGeometry().size() : QSize();
    // The desktop's frame is known once shown; a title bar is the most of it.
    const QSize titulo(0, ventana->style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const QSize tam =
        pantalla ? PrepararTamanio(ventana, Pedido(ventana), titulo, libre) : Pedido(ventana);
    ventana->show();
    if (pantalla) {
        const QSize adornos = ventana->frameGeometry().size() - ventana->size();
        ventana->resize(Encajar(ventana, tam, adornos, libre) - adornos);
        Centrar(ventana);
    }
    ventana->raise();
    ventana->activateWindow();
    ListaParaEscribir(ventana);
    bucle.exec();
}

void MostrarVentana(QWidget* ventana) {
    QMdiArea* area = AreaPrincipal();
    QMdiSubWindow* marco = MarcoDe(ventana);
    const bool nueva = !marco && !ventana->isVisible();
    if (nueva) PrincipioALaVista(ventana);
    if (!area || (!marco && ventana->isWindow() && ventana->isVisible())) {
        ventana->setAttribute(Qt::WA_DeleteOnClose);
        ventana->show();
        ventana->raise();
        ventana->activateWindow();
        if (nueva) ListaParaEscribir(ventana);
        return;
    }
    if (!marco) {
        QSize tam = Pedido(ventana);
        marco = area->addSubWindow(ventana);
        marco->setObjectName(ventana->objectName() + QStringLiteral("_marco"));
        marco->setAttribute(Qt::WA_DeleteOnClose);
        // Past what the screen holds the window gives way, down to what its controls need:
        // its lists show fewer rows; below that its contents scroll, its buttons stay in sight.
        // That is settled before it shows, the focus it chose still its own.
        tam = PrepararTamanio(ventana, tam, marco->sizeHint() - ventana->sizeHint(),
                              AreaMaxima(area));
        marco->show();
        // The frame takes the window's own size plus its title bar and borders.
        const QSize adornos = marco->size() - ventana->size();
        marco->resize(tam + adornos);
        marco->resize(Encajar(ventana, tam, adornos, AgrandarParaMostrar(area, tam + adornos)));
        Centrar(ventana);
        // A window that closes itself takes its frame with it.
        QPointer<QMdiSubWindow> pm(marco);
        QPointer<QWidget> pv(ventana);
        auto cerrarMarco = [pm, pv] {
            QTimer::singleShot(0, [pm, pv] {
                if (pm && pm->isVisible() && !pm->isMinimized() && !pm->isShaded() &&
                    (!pv || pv->isHidden()))
                    pm->close();
            });
        };
        QObject::connect(ventana, &QObject::destroyed, marco, cerrarMarco);
        ventana->installEventFilter(new FiltroCierre(marco, cerrarMarco));
    }
    marco->show();
    if (marco->isMinimized()) marco->showNormal();
    area->setActiveSubWindow(marco);
    marco->raise();
    ventana->activateWindow();
    // A window brought back to the front keeps the control the clerk left it on.
    if (nueva) ListaParaEscribir(ventana);
}

}  // namespace zul
