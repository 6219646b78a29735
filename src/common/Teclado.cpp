#include "common/Teclado.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "common/Formato.h"
#include "platform/Ventana.h"

namespace zul {
namespace {

const QString kPlantilla = QStringLiteral("  /  /    ");
constexpr int kLargoFecha = 10;
// Kept on each box that has shown a stored text: the limit of what may be typed into it, and
// how many fills of it are under way.
constexpr char kLimiteTecleo[] = "LimiteTecleo";
constexpr char kLlenando[] = "Llenando";

// Changing a box's limit sets its text again, which would move the caret and drop the selection.
void FijarLargo(QLineEdit* caja, int largo) {
    if (caja->maxLength() == largo) return;
    const int cursor = caja->cursorPosition();
    const int inicio = caja->selectionStart();
    const int seleccion = static_cast<int>(caja->selectedText().size());
    caja->setMaxLength(largo);
    if (inicio >= 0)
        caja->setSelection(inicio, seleccion);
    else
        caja->setCursorPosition(cursor);
}

// The frame a focus move stays in: the MDI child the control lives in, or its window.
QWidget* Marco(QWidget* control) {
    for (QWidget* p = control->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<QMdiSubWindow*>(p)) return p;
    return control->window();
}

bool Enfocable(QWidget* w, QWidget* marco) {
    // Display boxes are no stop: Enter walks through what the user can type in.
    return TomaEntrada(w) && marco->isAncestorOf(w);
}

// Next or previous control in the window's tab order, as Tab and Shift+Tab find it; Esc in
// the window's first box stays there rather than going round to the last button.
void MoverFoco(QWidget* desde, bool adelante) {
    QWidget* marco = Marco(desde);
    QWidget* w = desde;
    do {
        w = adelante ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!adelante && w == marco) return;
        if (Enfocable(w, marco)) {
            w->setFocus(adelante ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    } while (w && w != desde);
}

// The move happens after the key's own handling, like a queued Tab keystroke.
void MoverFocoLuego(QWidget* control, bool adelante) {
    QPointer<QWidget> origen(control);
    QTimer::singleShot(0, control, [origen, adelante] {
        QWidget* foco = QApplication::focusWidget();
        if (!origen || !foco) return;
        // From wherever the focus is now, as long as it is still in the same window.
        if (Marco(foco) != Marco(origen)) return;
        MoverFoco(foco, adelante);
    });
}

// Code of the key as the box's key handlers see it (0 for keys that type nothing).
int CodigoTecla(const QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 0;  // the window moves the focus
        default:
            break;
    }
    const QString t = e->text();
    return t.isEmpty() ? 0 : t.at(0).unicode();
}

class FiltroTeclaEnter : public QObject {
  public:
    explicit FiltroTeclaEnter(QWidget* control) : QObject(control) {}
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::KeyPress) {
            const int tecla = CodigoTecla(static_cast<QKeyEvent*>(evento));
            if (tecla == 13 || tecla == 27) TeclaEnter(static_cast<QWidget*>(objeto), tecla);
        }
        return false;
    }
};

EstadoFecha Leer(const QLineEdit* caja) {
    EstadoFecha e;
    e.texto = caja->text();
    if (caja->hasSelectedText()) {
        e.selStart = caja->selectionStart();
        e.selLength = static_cast<int>(caja->selectedText().size());
    } else {
        e.selStart = caja->cursorPosition();
    }
    return e;
}

void Escribir(QLineEdit* caja, const EstadoFecha& e) {
    if (caja->text() != e.texto) caja->setText(e.texto);
    if (e.selLength > 0)
        caja->setSelection(e.selStart, e.selLength);
    else
        caja->setCursorPosition(e.selStart);
}

// Setting the text puts the caret at the start, as the date procedures expect.
void PonerTexto(EstadoFecha& caja, const QString& texto) {
    caja.texto = texto;
    caja.selStart = 0;
    caja.selLength = 0;
}

class FiltroFecha : public QObject {
  public:
    FiltroFecha(QLineEdit* caja, EntradaFecha entrada)
        : QObject(caja), caja_(caja), entrada_(entrada) {}
    bool eventFilter(QObject*, QEvent* evento) override {
        switch (evento->type()) {
            case QEvent::FocusIn: {
                if (entrada_ == sinPlantilla) return false;
                EstadoFecha e = Leer(caja_);
                FechaGotFocus(e);
                Escribir(caja_, e);
                return false;
            }
            case QEvent::FocusOut: {
                // A menu or another program taking the focus is not leaving the box.
                const auto razon = static_cast<QFocusEvent*>(evento)->reason();
                if (razon != Qt::PopupFocusReason && razon != Qt::ActiveWindowFocusReason)
                    caja_->setText(CompletarFecha(caja_->text()));
                return false;
            }
            case QEvent::KeyPress:
                return Tecla(static_cast<QKeyEvent*>(evento));
            default:
                return false;
        }
    }

  private:
    bool Tecla(QKeyEvent* k) {
        // Copying and selecting change nothing; every other edit goes through the template.
        if (k->matches(QKeySequence::Copy) || k->matches(QKeySequence::SelectAll)) return false;
        EstadoFecha e = Leer(caja_);
        if (k->key() == Qt::Key_Delete) {
            FechaKeyDown(e, 46);
            Escribir(caja_, e);
            return true;
        }
        const int codigo = CodigoTecla(k);
        if (codigo == 0) return false;  // arrows, Home, End, Tab: the box moves its caret
        if (codigo == 13 || codigo == 27) TeclaEnter(caja_, codigo);
        const int queda = FechaKeyPress(e, codigo);
        if (queda != 0) EscribirEnFecha(e, queda);
        Escribir(caja_, e);
        return true;
    }
    QLineEdit* caja_;
    EntradaFecha entrada_;
};

}  // namespace

void TeclaEnter(QWidget* control, int tecla) {
    if (!control) return;
    if (tecla == 13) MoverFocoLuego(control, true);
    if (tecla == 27) MoverFocoLuego(control, false);
}

void TeclaEnterApi(int& keyAscii, QWidget* control) {
    if (!control || qobject_cast<QPushButton*>(control)) return;
    if (keyAscii != 13 && keyAscii != 27) return;
    MoverFocoLuego(control, keyAscii == 13);
    keyAscii = 0;
}

void InstalarTeclaEnter(QWidget* control) {
    control->installEventFilter(new FiltroTeclaEnter(control));
}

void FechaGotFocus(EstadoFecha& caja) {
    if (caja.texto.isEmpty()) PonerTexto(caja, kPlantilla);
    if (caja.texto.size() == 9) PonerTexto(caja, QLatin1Char('0') + caja.texto);
}

int FechaKeyDown(EstadoFecha& caja, int keyCode) {
    if (keyCode != 46) return keyCode;
    if (caja.selStart == 0 && caja.selLength == kLargoFecha) {
        PonerTexto(caja, kPlantilla);
        return 0;
    }
    // The digit after the caret goes; the later digits move one place left.
    const int p = caja.selStart;
    QString s;
    const QString texto = caja.texto.left(kLargoFecha);
    for (int i = 0; i < texto.size(); ++i)
        if (texto.at(i) != QLatin1Char('/') && i != p) s += texto.at(i);
    s = s.leftJustified(kLargoFecha, QLatin1Char(' '));
    PonerTexto(caja, s.mid(0, 2) + QLatin1Char('/') + s.mid(2, 2) + QLatin1Char('/') + s.mid(4, 4));
    caja.selStart = p;
    return 0;
}

int FechaKeyPress(EstadoFecha& caja, int keyAscii) {
    if (keyAscii == 8) {
        int p = caja.selStart;
        if (p == 0) {
            if (caja.selLength == kLargoFecha) PonerTexto(caja, kPlantilla);
            return 0;
        }
        if (p <= caja.texto.size() && caja.texto.at(p - 1) == QLatin1Char('/')) --p;
        if (p == 0) return 0;
        QString t = caja.texto;
        if (p <= t.size()) t[p - 1] = QLatin1Char(' ');
        PonerTexto(caja, t);
        caja.selStart = p - 1;
        return 0;
    }
    if (keyAscii >= '0' && keyAscii <= '9') {
        if (caja.selLength == kLargoFecha) PonerTexto(caja, kPlantilla);
        if (caja.selStart < caja.texto.size() && caja.texto.at(caja.selStart) == QLatin1Char('/'))
            ++caja.selStart;
        caja.selLength = 1;
        return keyAscii;
    }
    return 0;
}

void EscribirEnFecha(EstadoFecha& caja, int keyAscii) {
    const int inicio = std::min<int>(caja.selStart, static_cast<int>(caja.texto.size()));
    const int largo = std::min<int>(caja.selLength, static_cast<int>(caja.texto.size()) - inicio);
    QString t = caja.texto;
    t.remove(inicio, largo);
    // The box never grows past ten characters.
    if (t.size() >= kLargoFecha) return;
    t.insert(inicio, QChar(keyAscii));
    caja.texto = t;
    caja.selStart = inicio + 1;
    caja.selLength = 0;
}

QString CompletarFecha(const QString& texto, const QDate& hoy) {
    QString r = texto;
    if (r.isEmpty() || r == QStringLiteral("00/00/0000") || r == kPlantilla) return {};
    const QString mes = r.mid(3, 2);
    if (mes == QStringLiteral("00") || mes == QStringLiteral("  "))
        r = r.left(3) + hoy.toString(QStringLiteral("MM")) + r.mid(5);
    const QString anio = r.mid(6, 4);
    const QString recortado = anio.trimmed();
    if (anio == QStringLiteral("0000")) {
        r = r.left(6) + QStringLiteral("2000");
    } else if (recortado.isEmpty()) {
        r = r.left(6) + hoy.toString(QStringLiteral("yyyy"));
    } else if (recortado.size() == 2) {
        // The two digits typed, wherever they stand in the year's four places.
        r = r.left(6) + hoy.toString(QStringLiteral("yyyy")).left(2) + recortado;
    }
    return r;
}

QString ArmarFecha(const QString& texto, bool hasta) {
    if (texto.isEmpty()) return {};
    const auto barras = texto.count(QLatin1Char('/'));
    QString armado;
    if (barras == 0)
        armado = (hasta ? QStringLiteral("31/12/") : QStringLiteral("01/01/")) + texto;
    else if (barras == 1)
        armado = QStringLiteral("01/") + texto;
    else
        armado = texto;
    const std::optional<QDate> fecha = LeerFecha(armado);
    // What does not read as a date is handed back as built; the caller adds no condition.
    if (!fecha) return armado;
    QDate d = *fecha;
    if (barras == 1 && hasta) d = d.addMonths(1).addDays(-1);
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

void InstalarCajaFecha(QLineEdit* caja, EntradaFecha entrada) {
    caja->setMaxLength(kLargoFecha);
    // Keys go through the template above; a paste from the context menu does not, so the box
    // itself refuses anything but the template's characters.
    caja->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 /]{0,10}")), caja));
    caja->installEventFilter(new FiltroFecha(caja, entrada));
    InstalarCajaFija(caja);
}

TextosEnteros::TextosEnteros(const QList<QLineEdit*>& cajas) {
    for (QLineEdit* caja : cajas) {
        if (!caja) continue;
        if (!caja->property(kLimiteTecleo).isValid()) {
            const int limite = caja->maxLength();
            caja->setProperty(kLimiteTecleo, limite);
            // Emptied or cut down to its limit, the box takes no more than that again.
            QObject::connect(caja, &QLineEdit::textChanged, caja, [caja, limite](const QString& t) {
                if (caja->property(kLlenando).toInt() == 0 && t.size() <= limite)
                    FijarLargo(caja, limite);
            });
        }
        caja->setProperty(kLlenando, caja->property(kLlenando).toInt() + 1);
        FijarLargo(caja, std::numeric_limits<int>::max());
        cajas_ << caja;
    }
}

TextosEnteros::~TextosEnteros() {
    for (const QPointer<QLineEdit>& caja : cajas_) {
        if (!caja) continue;
        const int llenando = caja->property(kLlenando).toInt() - 1;
        caja->setProperty(kLlenando, llenando);
        if (llenando == 0)
            FijarLargo(caja, std::max(caja->property(kLimiteTecleo).toInt(),
                                      static_cast<int>(caja->text().size())));
    }
}

}  // namespace zul
