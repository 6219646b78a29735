#include "lookup/consulta.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <memory>

#include "common/Formato.h"
#include "common/Teclado.h"
#include "lookup/NueCons.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"

namespace zul {

constexpr std::size_t kFilasLiberarLuego = 1000;

// The rows of the query, shown read-only; texts are made only for the rows on screen.
class ModeloConsulta : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    FilasConsulta datos;
    QStringList titulos;

    void Poner(FilasConsulta filas) {
        beginResetModel();
        std::swap(datos, filas);
        endResetModel();
        // Letting go of a long list takes a while: after the new rows are on screen.
        if (filas.filas.size() > kFilasLiberarLuego)
            QTimer::singleShot(0, [viejas = std::make_shared<FilasConsulta>(std::move(filas))] {});
    }
    int rowCount(const QModelIndex& padre = {}) const override {
        return padre.isValid() ? 0 : static_cast<int>(datos.filas.size());
    }
    int columnCount(const QModelIndex& padre = {}) const override {
        return padre.isValid() ? 0 : static_cast<int>(datos.campos.size());
    }
    QVariant data(const QModelIndex& i, int rol) const override {
        if (!i.isValid()) return {};
        if (rol == Qt::DisplayRole)
            return TextoCelda(datos.filas[i.row()][i.column()], datos.tipos[i.column()]);
        if (rol == Qt::TextAlignmentRole && datos.tipos[i.column()] == tcDoble)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int seccion, Qt::Orientation o, int rol) const override {
        if (o != Qt::Horizontal || rol != Qt::DisplayRole) return {};
        if (seccion < titulos.size()) return titulos[seccion];
        return seccion < datos.campos.size() ? datos.campos[seccion] : QVariant();
    }
};

namespace {

// How far in from each side of a cell the style draws its text.
int MargenCelda(const QWidget* vista) {
    return vista->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, vista) + 1;
}

// A cell whose text does not fit its column shows the whole text as its tool tip.
class DelegadoConsulta : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* e, QAbstractItemView* vista, const QStyleOptionViewItem& opcion,
                   const QModelIndex& i) override {
        if (e->type() != QEvent::ToolTip || !i.isValid())
            return QStyledItemDelegate::helpEvent(e, vista, opcion, i);
        QStyleOptionViewItem o = opcion;
        initStyleOption(&o, i);
        const bool cortado =
            o.fontMetrics.horizontalAdvance(o.text) > o.rect.width() - 2 * MargenCelda(vista);
        QToolTip::showText(e->globalPos(), cortado ? o.text : QString(), vista->viewport(), o.rect);
        e->setAccepted(cortado);
        return cortado;
    }
};

// The text columns give way when the columns need more than `sitio` pixels: the ones that need
// little keep what they need and the longer ones share alike what is left, never narrower than
// their captions. `anchos` holds every shown column's width; `justos` and `minimos` the need and
// the caption of the columns in `textos`.
void RepartirTextos(QList<int>& anchos, QList<int> textos, const QList<int>& justos,
                    const QList<int>& minimos, int sitio) {
    int queda = sitio;
    for (int c = 0; c < anchos.size(); ++c)
        if (!textos.contains(c)) queda -= anchos[c];
    std::sort(textos.begin(), textos.end(), [&](int a, int b) { return justos[a] < justos[b]; });
    for (int k = 0; k < textos.size(); ++k) {
        const int c = textos[k];
        anchos[c] = std::max(minimos[c], std::min(justos[c], queda / int(textos.size() - k)));
        queda -= anchos[c];
    }
}

constexpr int kAnchoMinimo = 3435;
constexpr int kAnchoMaximo = 8000;
constexpr int kF3 = Qt::Key_F3;

bool EsTextual(int clase) {
    return clase == tcTexto || clase == tcSiNo;
}

}  // namespace

QString TextoBusqueda(const QString& base, const QString& campo, int clase, const QString& texto,
                      int modoBusqueda) {
    if (texto.isEmpty()) return base;
    QString condicion;
    const QString orden = " order by " + campo;
    if (EsTextual(clase)) {
        const QString u = ReemplazarTexto(texto, "'", "''", 1).toUpper();
        if (modoBusqueda == 1)
            condicion = campo + " like '%" + u + "%'";
        else
            condicion = "(" + campo + " like '" + u + "%' or " + campo + " like '%" + u + "%' or " +
                        campo + " like '%" + u + "')";
    } else if (clase == tcFecha) {
        condicion = campo + " = " + FormatoSQL(texto, 4);
    } else {
        condicion = campo + " = " + FormatoSQL(texto, 1);
    }
    // A base that sorts itself: the condition goes before its ORDER BY, whose place the
    // search's own order takes.
    QString cuerpo = base;
    const int p = base.lastIndexOf(QStringLiteral("order by"), -1, Qt::CaseInsensitive);
    if (p >= 0) cuerpo = base.left(p).trimmed();
    if (cuerpo.contains(QStringLiteral(" where ")) || cuerpo.contains(QStringLiteral(" WHERE ")))
        return cuerpo + " and " + condicion + orden;
    return cuerpo + " WHERE " + condicion + orden;
}

int AnchoColumnaConsulta(int clase) {
    switch (clase) {
        case tcEntero:
            return 1245;
        case tcDoble:
            return 1100;
        case tcSiNo:
            return 200;
        case tcFecha:
            return 1000;
        default:
            return 3000;
    }
}

int AnchoGrillaConsulta(int totalColumnas) {
    const int total = std::max(totalColumnas, kAnchoMinimo);
    return total >= kAnchoMaximo ? kAnchoMaximo : total + 400;
}

int AnchoVentanaConsulta(int anchoGrilla) {
    return qRound(anchoGrilla * 1.625 / 100.0) + anchoGrilla + 200;
}

QStringList CortarEncabezados(const QString& encabezados, int columnas) {
    QStringList titulos;
    if (encabezados.isEmpty()) return titulos;
    QString resto = encabezados;
    for (int k = 1; k <= columnas; ++k) {
        const int barra = resto.indexOf(QLatin1Char('/'));
        if (k == columnas || barra < 0) {
            titulos << resto;
            resto.clear();
        } else {
            titulos << resto.left(barra);
            resto = resto.mid(barra + 1);
        }
    }
    return titulos;
}

std::function<void(consulta&)> consulta::alMostrar;

consulta::consulta(QWidget* parent) : QDialog(parent) {
    setObjectName("consulta");
    setModal(true);
    setFont(FuenteVentana());
    texto_ = new QLineEdit(this);
    texto_->setObjectName("texto");
    texto_->setGeometry(Twips(75), Twips(60), Twips(3615), Twips(285));
    grilla_ = new QTableView(this);
    grilla_->setObjectName("grilla");
    grilla_->setGeometry(Twips(120), Twips(480), Twips(3495), Twips(4455));
    modelo_ = new ModeloConsulta(grilla_);
    grilla_->setModel(modelo_);
    grilla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grilla_->setSelectionMode(QAbstractItemView::SingleSelection);
    grilla_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grilla_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grilla_->verticalHeader()->setDefaultSectionSize(grilla_->fontMetrics().height() + 6);
    grilla_->horizontalHeader()->setHighlightSections(false);
    grilla_->setWordWrap(false);
    grilla_->setItemDelegate(new DelegadoConsulta(grilla_));

    auto boton = [this](const char* nombre, const QString& cara, int izquierda) {
        auto* b = new QPushButton(cara, this);
        b->setObjectName(QString::fromLatin1(nombre));
        // Enter in the search box searches: no button is the dialog's default.
        b->setAutoDefault(false);
        b->setGeometry(Twips(izquierda), Twips(5040), Twips(855), Twips(315));
        return b;
    };
    aceptar_ = boton("aceptar", QStringLiteral("&Aceptar"), 0);
    buscar_ = boton("buscar", QStringLiteral("&Buscar"), 900);
    orden_ = boton("orden", QStringLiteral("&Orden"), 1800);
    salir_ = boton("salir", QStringLiteral("&Cancelar"), 2700);
    setTabOrder(texto_, grilla_);
    setTabOrder(grilla_, aceptar_);
    setTabOrder(aceptar_, buscar_);
    setTabOrder(buscar_, orden_);
    setTabOrder(orden_, salir_);
    resize(Twips(4065), Twips(5400));

    InstalarTeclaEnter(texto_);
    EnterPulsaBotones(this);
    connect(aceptar_, &QPushButton::clicked, this, [this] { aceptar_Click(); });
    connect(buscar_, &QPushButton::clicked, this, [this] { buscar_Click(); });
    connect(orden_, &QPushButton::clicked, this, [this] { orden_Click(); });
    connect(salir_, &QPushButton::clicked, this, [this] { salir_Click(); });
    // F3 accepts wherever the focus is; in the grid Enter accepts too. Esc is the dialog's own
    // cancel (reject).
    new QShortcut(QKeySequence(kF3), this, this, [this] { aceptar_Click(); });
    for (int tecla : {int(Qt::Key_Return), int(Qt::Key_Enter)})
        new QShortcut(
            QKeySequence(tecla), grilla_, this, [this] { aceptar_Click(); }, Qt::WidgetShortcut);
    // A double-click chooses the row under the pointer, which the press made the current one.
    connect(grilla_, &QAbstractItemView::doubleClicked, this, [this] { aceptar_Click(); });
    connect(grilla_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& actual) {
                if (actual.isValid()) columnaActual_ = actual.column();
            });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* antes, QWidget* ahora) { AlCambiarFoco(antes, ahora); });

    // Centred with its design size when it loads; not again once the width is set.
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (s) move(s->geometry().center() - QPoint(width() / 2, height() / 2));
}

consulta::~consulta() {
    disconnect(qApp, nullptr, this, nullptr);
}

void consulta::PonerEncabezados(const QStringList& titulos) {
    modelo_->titulos = titulos;
}

int consulta::filas() const {
    return modelo_->rowCount();
}

QString consulta::celda(int fila, int col) const {
    return modelo_->data(modelo_->index(fila, col), Qt::DisplayRole).toString();
}

void consulta::AlCambiarFoco(QWidget* antes, QWidget* ahora) {
    if (!isVisible()) return;
    if (antes == buscar_) buscadaAlSalir_ = false;
    if (ahora == texto_) texto_->selectAll();
    // Leaving the search box for the grid (Enter does that) or the search button searches.
    if (antes == texto_ && (ahora == grilla_ || ahora == buscar_)) {
        Buscar();
        buscadaAlSalir_ = ahora == buscar_;
    }
}

bool consulta::Cargar(const QString& sql) {
    FilasConsulta leidas;
    try {
        leidas = LeerFilas(sql, [this](const QString& campo) {
            const int i = modelo_->datos.indice(campo);
            return i >= 0 ? modelo_->datos.tipos[i] : 0;
        });
    } catch (const DatabaseError& e) {
        // The rows on show stay; the user may correct the search or cancel.
        MsgBox(TextoError(e.numero(), e.descripcion()));
        return false;
    }
    consulta_ = sql;
    modelo_->Poner(std::move(leidas));
    for (int c = 0; c < modelo_->columnCount(); ++c) grilla_->setColumnHidden(c, c >= Columnas);
    if (modelo_->rowCount() > 0)
        grilla_->setCurrentIndex(
            modelo_->index(0, std::min(columnaActual_, modelo_->columnCount() - 1)));
    return true;
}

void consulta::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!activada_) {
        activada_ = true;
        Form_Activate();
    }
}

void consulta::Form_Activate() {
    Resultado.fill(QString());
    Cargar(SqlConsulta + SqlFiltro);
    for (int c = 0; c < Columnas && c < modelo_->columnCount(); ++c)
        grilla_->setColumnWidth(c, Twips(AnchoColumnaConsulta(modelo_->datos.tipos[c])));
    EnsancharColumnas();
    texto_->setFocus();
}

void consulta::Buscar() {
    const int i = modelo_->datos.indice(CampoBusqueda);
    const int clase = i >= 0 ? modelo_->datos.tipos[i] : tcEntero;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (Cargar(TextoBusqueda(SqlConsulta, CampoBusqueda, clase, texto_->text(), ModoBusqueda)))
        EnsancharColumnas();
    QApplication::restoreOverrideCursor();
}

int consulta::Adornos() const {
    int adornos = 2 * grilla_->frameWidth();
    if (!grilla_->verticalHeader()->isHidden())
        adornos += grilla_->verticalHeader()->sizeHint().width();
    // The vertical scroll bar, when the rows do not all fit.
    const int alto = grilla_->height() - 2 * grilla_->frameWidth() -
                     grilla_->horizontalHeader()->sizeHint().height();
    if (qint64(modelo_->rowCount()) * grilla_->verticalHeader()->defaultSectionSize() > alto)
        adornos += grilla_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                 grilla_->verticalScrollBar());
    return adornos;
}

void consulta::EnsancharColumnas() {
    const int libre = 2 * MargenCelda(grilla_) + (grilla_->showGrid() ? 1 : 0);
    const int columnas = std::min(Columnas, int(modelo_->columnCount()));
    QList<int> anchos(columnas), justos(columnas), cabeceras(columnas), textos;
    int total = 0;
    for (int c = 0; c < columnas; ++c) {
        cabeceras[c] =
            AnchoCabecera(grilla_->horizontalHeader(),
                          modelo_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), c);
        justos[c] = cabeceras[c];
        // Whole numbers and dates always fit their designed widths; other texts are measured.
        const int clase = modelo_->datos.tipos[c];
        if (clase != tcEntero && clase != tcFecha) {
            const QFont fuente = grilla_->font();
            int texto = 0;
            for (const auto& fila : modelo_->datos.filas) {
                const QVariant& v = fila[c];
                // Text as stored is what the cell shows: read in place, not copied.
                texto = std::max(
                    texto, v.typeId() == QMetaType::QString
                               ? medidor_.ancho(*static_cast<const QString*>(v.constData()), fuente)
                               : medidor_.ancho(TextoCelda(v, clase), fuente));
            }
            justos[c] = std::max(justos[c], texto + libre);
        }
        if (clase == tcTexto) textos << c;
        anchos[c] = std::max(grilla_->columnWidth(c), justos[c]);
        total += anchos[c];
    }
    // Every column stays in view in the widest grid: past that, long texts are cut.
    const int adornos = Adornos();
    const int sitio = std::max(grilla_->width(), Twips(kAnchoMaximo)) - adornos;
    if (total > sitio) RepartirTextos(anchos, textos, justos, cabeceras, sitio);
    total = 0;
    for (int c = 0; c < columnas; ++c) {
        grilla_->setColumnWidth(c, anchos[c]);
        total += anchos[c];
    }
    // The grid, and the dialog with it, take the columns' width as far as their limit, and
    // always room for every column beside the row numbers and the scroll bar.
    const int grilla =
        std::max(AnchoGrillaConsulta(total * kTwipsPorPixel), (total + adornos) * kTwipsPorPixel);
    if (Twips(grilla) <= grilla_->width()) return;
    grilla_->resize(Twips(grilla), grilla_->height());
    resize(Twips(AnchoVentanaConsulta(grilla)), height());
}

void consulta::buscar_Click() {
    if (buscadaAlSalir_) {
        buscadaAlSalir_ = false;
        return;
    }
    Buscar();
}

void consulta::orden_Click() {
    if (columnaActual_ < 0 || columnaActual_ >= modelo_->datos.campos.size()) return;
    // From the base text: a search in force is dropped.
    Cargar(ConsultaOrden(SqlConsulta, modelo_->datos.campos[columnaActual_]));
}

void consulta::aceptar_Click() {
    hide();
    Resultado.fill(QString());
    const int fila = grilla_->currentIndex().row();
    if (fila >= 0 && fila < modelo_->rowCount()) {
        const FilasConsulta& d = modelo_->datos;
        for (int k = 0; k < int(Campo.size()); ++k) {
            if (Campo[k].isEmpty()) continue;
            const int i = d.indice(Campo[k]);
            // A field the query does not have ends the copying; a Null one comes back empty.
            if (i < 0) break;
            Resultado[k] = TextoCelda(d.filas[fila][i], d.tipos[i]);
        }
    }
    QDialog::accept();
}

void consulta::salir_Click() {
    Resultado.fill(QString());
    QDialog::reject();
}

void consulta::reject() {
    salir_Click();
}

int consulta::ejecutar() {
    if (!alMostrar) return exec();
    show();
    alMostrar(*this);
    if (isVisible()) salir_Click();
    return result();
}

}  // namespace zul
