#include "lookup/NueCons.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include "common/Formato.h"
#include "common/Globales.h"
#include "common/Teclado.h"
#include "lookup/ModConsu.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"

namespace zul {
namespace {

constexpr int kAnchoMinimo = 4395;

int AnchoPantalla(const QWidget* w) {
    const QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry().width() * 15 : 1024 * 15;
}

int AltoPantalla(const QWidget* w) {
    const QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry().height() * 15 : 768 * 15;
}

}  // namespace

QString ConsultaBusqueda(const QString& base, const QString& campo, int tipo, const QString& texto,
                         int modoBusqueda) {
    if (texto.isEmpty()) return base;
    QString w, o;
    switch (tipo) {
        case 2:
        case tcEntero:
        case 6:
        case 17:
            if (campo == QStringLiteral("Mes")) {
                w = "month(DDJJ_Periodo)=" + FormatoSQL(texto, 1);
                o = " ORDER BY month(DDJJ_Periodo)";
            } else if (campo == QStringLiteral("Año")) {
                w = "year(DDJJ_Periodo)=" + FormatoSQL(texto, 1);
                o = " ORDER BY year(DDJJ_Periodo)";
            } else {
                w = campo + " = " + FormatoSQL(texto, 1);
                o = " ORDER BY " + campo;
            }
            break;
        case tcDoble:
        case tcSiNo:
        case 129:
        case 200:
        case tcTexto: {
            const QString u = ReemplazarTexto(texto, "'", "''", 1).toUpper();
            if (modoBusqueda == 2)
                w = "(" + campo + " like '" + u + "%' or " + campo + " like '% " + u + "%' ) ";
            else if (modoBusqueda == 1)
                w = campo + " like '%" + u + "%' ";
            else
                w = "(" + campo + " like '" + u + "%' or " + campo + " like '%" + u + "%' or " +
                    campo + " like '%" + u + "')  ";
            o = " ORDER BY " + campo;
            break;
        }
        case 7:
        case tcFecha:
            if (const auto d = LeerFecha(texto)) {
                w = campo + " = " +
                    (d->year() > 1900 ? FormatoSQL(texto, 4) : FormatoSQL("01/01/1900", 4));
            } else {
                w = campo + " = " + FormatoSQL(texto, 1);
            }
            o = " ORDER BY " + campo;
            break;
        default:
            // No condition fits such a field: the search shows every row.
            return base;
    }
    const int p = base.toUpper().indexOf(QStringLiteral("WHERE"));
    if (p >= 0) return base.left(p + 6) + w + " AND " + base.mid(p + 6) + o;
    w = " WHERE " + w;
    const int g = base.indexOf(QStringLiteral("GROUP BY"));
    if (g >= 0) return base.left(g) + w + " " + base.mid(g) + o;
    return base + w + o;
}

QString ConsultaOrden(const QString& base, const QString& campo) {
    int p = base.indexOf(QStringLiteral("order by"));
    if (p < 0) p = base.indexOf(QStringLiteral("ORDER BY"));
    return (p >= 0 ? base.left(p) : base) + " ORDER BY " + campo;
}

int AnchoGrillaNueCons(int totalColumnas, int anchoPantalla) {
    const int total = std::max(totalColumnas, kAnchoMinimo);
    return anchoPantalla - 2000 > total ? total + 340 : anchoPantalla - 2000;
}

int AnchoVentanaNueCons(int anchoGrilla) {
    return qRound(anchoGrilla * 1.625 / 100.0) + anchoGrilla + 300;
}

QStringList ItemsBuscar(const QString& encabezados) {
    QStringList items;
    for (const QString& item : encabezados.split('|'))
        items << (item.trimmed().isEmpty() ? QStringLiteral("-") : item);
    return items;
}

std::function<void(NueCons&)> NueCons::alMostrar;

NueCons::NueCons(QWidget* parent) : QDialog(parent) {
    setObjectName("NueCons");
    setModal(true);
    setFont(FuenteVentana());

    texto = new QLineEdit(this);
    texto->setObjectName("texto");
    texto->setGeometry(Twips(195), Twips(45), Twips(3975), Twips(285));
    Grilla = new Grid(this);
    Grilla->setObjectName("Grilla");
    Grilla->setGeometry(Twips(180), Twips(330), Twips(3960), Twips(4620));
    cboBuscar = new QComboBox(this);
    cboBuscar->setObjectName("cboBuscar");
    cboBuscar->setGeometry(Twips(1170), Twips(5010), Twips(2985), Twips(315));
    Label2 = new QLabel(QStringLiteral("Buscar por"), this);
    Label2->setObjectName("Label2");
    Label2->setGeometry(Twips(585), Twips(4995), Twips(615), Twips(390));
    // Drawn two lines high: "Buscar" above "por".
    Label2->setWordWrap(true);
    Label1 = new QLabel(QStringLiteral("ENTER-DOBLE CLICK para Aceptar ESC Salir"), this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(Twips(195), Twips(5385), Twips(3555), Twips(195));
    // Wider when the machine's face is: the hint is read whole.
    Label1->setMinimumWidth(Label1->sizeHint().width());
    setTabOrder(texto, Grilla);
    setTabOrder(Grilla, cboBuscar);
    resize(Twips(4275), Twips(5595));

    for (QWidget* w : {static_cast<QWidget*>(texto), static_cast<QWidget*>(Grilla),
                       static_cast<QWidget*>(cboBuscar)})
        w->installEventFilter(this);
    connect(cboBuscar, &QComboBox::currentIndexChanged, this, [this] { cboBuscar_Click(); });
    connect(Grilla, &Grid::DblClick, this, [this] {
        const int fila = Grilla->MouseRow();
        if (fila >= 0 && fila < Grilla->FixedRows())
            OrdenarPorColumna(Grilla->MouseCol());
        else if (fila >= Grilla->FixedRows())
            Aceptar();
    });
    // Over the header the pointer says that a double-click sorts.
    connect(Grilla, &Grid::MouseMove, this, [this] {
        if (Grilla->MouseRow() >= 0 && Grilla->MouseRow() < Grilla->FixedRows())
            Grilla->setCursor(Qt::UpArrowCursor);
        else
            Grilla->unsetCursor();
    });
    connect(Grilla, &Grid::GotFocus, this, [this] {
        if (Grilla->Rows() <= Grilla->FixedRows()) texto->setFocus();
    });

    // Centred with its design size when it loads.
    move((AnchoPantalla(this) - width() * 15) / 2 / 15,
         (AltoPantalla(this) - height() * 15) / 2 / 15);
}

void NueCons::PrepararColumnas(const QString& encabezados) {
    encabezados_ = encabezados.split('|');
    Grilla->setFormatString(encabezados);
    cboBuscar->blockSignals(true);
    cboBuscar->clear();
    const QStringList items = ItemsBuscar(encabezados);
    for (int i = 0; i < items.size(); ++i) cboBuscar->addItem(items[i], i);
    cboBuscar->setCurrentIndex(-1);
    cboBuscar->blockSignals(false);
}

int NueCons::tipoCampo(const QString& campo) const {
    for (int i = 0; i < campos_.size(); ++i)
        if (campos_[i].compare(campo, Qt::CaseInsensitive) == 0) return tipos_[i];
    return 0;
}

bool NueCons::Cargar(const QString& sql) {
    FilasConsulta leidas;
    try {
        leidas = LeerFilas(sql, [this](const QString& campo) { return tipoCampo(campo); });
    } catch (const DatabaseError& e) {
        // The rows on show stay; the user may correct the search.
        MsgBox(TextoError(e.numero(), e.descripcion()));
        return false;
    }
    campos_ = std::move(leidas.campos);
    tipos_ = std::move(leidas.tipos);
    filas_ = std::move(leidas.filas);
    consulta_ = sql;

    Grilla->setRedraw(false);
    const int columnas = std::max<int>(campos_.size(), encabezados_.size());
    if (Grilla->Cols() != columnas) Grilla->setCols(columnas);
    for (int c = 0; c < columnas; ++c) {
        Grilla->setTextMatrix(0, c, c < encabezados_.size() ? encabezados_[c] : campos_[c]);
        if (c < campos_.size()) Grilla->setColKey(c, campos_[c]);
    }
    const int filas = static_cast<int>(filas_.size());
    Grilla->setRows(1 + filas);
    for (int r = 0; r < filas; ++r)
        for (int c = 0; c < campos_.size(); ++c)
            Grilla->setTextMatrix(r + 1, c, TextoCelda(filas_[r][c], tipos_[c]));
    if (Grilla->Rows() > 1) Grilla->setRow(1);
    Grilla->setRedraw(true);
    return true;
}

void NueCons::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!activada_) {
        activada_ = true;
        Form_Activate();
    }
}

void NueCons::Form_Activate() {
    Resultado.fill(QString());
    Cargar(SqlConsulta + " order by " + CampoBusqueda);
    Grilla->AutoSize(0, Grilla->Cols() - 1);
    int total = 50;
    for (int c = 0; c < Grilla->Cols(); ++c) total += Grilla->ColWidth(c);
    const int grilla = AnchoGrillaNueCons(total, AnchoPantalla(this));
    Grilla->resize(Twips(grilla), Grilla->height());
    texto->resize(Twips(grilla), texto->height());
    resize(Twips(AnchoVentanaNueCons(grilla)), height());
    const int col = Grilla->ColIndex(CampoBusqueda);
    if (col >= 0 && col < cboBuscar->count()) cboBuscar->setCurrentIndex(col);
    texto->setFocus();
    move((AnchoPantalla(this) / 2 - width() * 15 / 2) / 15,
         (AltoPantalla(this) / 2 - height() * 15 / 2) / 15);
}

void NueCons::Buscar() {
    setCursor(Qt::WaitCursor);
    const QString sql = ConsultaBusqueda(SqlConsulta, CampoBusqueda, tipoCampo(CampoBusqueda),
                                         texto->text(), ModoBusqueda);
    const bool cargada = Cargar(sql);
    if (cargada) {
        Grilla->AutoSize(0, Grilla->Cols() - 1);
        const int col = Grilla->ColIndex(CampoBusqueda);
        if (col >= 0) {
            Grilla->setLeftCol(col);
            Grilla->setCol(col);
        }
        if (Grilla->Rows() <= Grilla->FixedRows()) texto->setFocus();
    }
    unsetCursor();
    if (!cargada) return;
    int total = 0;
    for (int c = 0; c < Grilla->Cols(); ++c) total += Grilla->ColWidth(c);
    const int grilla = AnchoGrillaNueCons(total, AnchoPantalla(this));
    Grilla->resize(Twips(grilla), Grilla->height());
    texto->resize(Twips(grilla), texto->height());
    resize(Twips(2 * Grilla->x() * 15 + grilla), height());
    move((AnchoPantalla(this) - width() * 15) / 2 / 15,
         (AltoPantalla(this) - height() * 15) / 2 / 15);
}

void NueCons::cboBuscar_Click() {
    const int i = cboBuscar->currentIndex();
    if (i >= 0 && i < campos_.size()) CampoBusqueda = campos_[i];
}

void NueCons::OrdenarPorColumna(int col) {
    if (col < 0 || col >= campos_.size()) return;
    Cargar(ConsultaOrden(SqlConsulta, campos_[col]));
}

void NueCons::Aceptar() {
    hide();
    Resultado.fill(QString());
    const int fila = Grilla->Row() - Grilla->FixedRows();
    if (fila >= 0 && fila < static_cast<int>(filas_.size())) {
        for (int k = 0; k < 7; ++k) {
            if (Campo[k].isEmpty()) continue;
            int i = campos_.size() - 1;
            while (i >= 0 && campos_[i].compare(Campo[k], Qt::CaseInsensitive) != 0) --i;
            if (i < 0) {
                MsgBox(TextoError(3265, "Elemento no encontrado en esta colección: " + Campo[k]));
                continue;
            }
            // A Null field hands back an empty value.
            Resultado[k] = TextoCelda(filas_[fila][i], tipos_[i]);
        }
    }
    QDialog::accept();
}

void NueCons::Cancelar() {
    Resultado.fill(QString());
    QDialog::reject();
}

void NueCons::reject() {
    Cancelar();
}

int NueCons::ejecutar() {
    if (!alMostrar) return exec();
    show();
    alMostrar(*this);
    if (isVisible()) Cancelar();
    return result();
}

bool NueCons::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() != QEvent::KeyPress) return QDialog::eventFilter(objeto, evento);
    auto* k = static_cast<QKeyEvent*>(evento);
    const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
    // The window sees every key first: F3 accepts, Esc cancels except in the grid.
    if (k->key() == Qt::Key_F3) {
        Aceptar();
        return true;
    }
    if (k->key() == Qt::Key_Escape && objeto != Grilla) {
        Cancelar();
        return true;
    }
    if (objeto == texto && enter) {
        Buscar();
        int tecla = 13;
        TeclaEnterApi(tecla, texto);
        return true;
    }
    if (objeto == cboBuscar && enter) {
        int tecla = 13;
        TeclaEnterApi(tecla, cboBuscar);
        return tecla == 0;
    }
    if (objeto == Grilla) {
        if (enter) {
            if (Grilla->Row() >= Grilla->FixedRows()) Aceptar();
            return true;
        }
        if (k->key() == Qt::Key_Escape) {
            texto->setFocus();
            return true;
        }
        const QString t = k->text();
        if (t.size() == 1 && t[0].unicode() >= 32 && t[0].unicode() <= 127 &&
            !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            // Typing in the list starts a new search text.
            texto->setText(t);
            texto->setCursorPosition(1);
            texto->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

}  // namespace zul
