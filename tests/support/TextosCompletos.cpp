#include "support/TextosCompletos.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QTableView>

#include "platform/Grid.h"

namespace zul::prueba {

namespace {

QString Linea(const QWidget* w, const QString& texto, int necesita, int tiene) {
    return QStringLiteral("%1: '%2' %3 > %4").arg(w->objectName(), texto).arg(necesita).arg(tiene);
}

int Ancho(const QWidget* w, const QString& texto) {
    return w->fontMetrics().horizontalAdvance(texto);
}

void Grilla(const Grid* g, QStringList& cortados) {
    const int margen = 2 * (g->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, g) + 1);
    for (int c = 0; c < g->Cols(); ++c) {
        if (g->isColumnHidden(c)) continue;
        const int tiene = g->columnWidth(c);
        QStyleOptionHeader opt;
        opt.initFrom(g->horizontalHeader());
        opt.text = g->TextMatrix(0, c);
        const int cabecera =
            g->style()->sizeFromContents(QStyle::CT_HeaderSection, &opt, QSize(), g).width();
        if (cabecera > tiene) cortados << Linea(g, opt.text, cabecera, tiene);
        for (int r = g->FixedRows(); r < g->Rows(); ++r) {
            const QString t = g->TextMatrix(r, c);
            const int necesita = g->ColCasilla(c)
                                     ? g->style()->pixelMetric(QStyle::PM_IndicatorWidth) + margen
                                     : Ancho(g, t) + margen;
            if (!t.isEmpty() && necesita > tiene) cortados << Linea(g, t, necesita, tiene);
        }
    }
    // Every row of a short list shows whole, the empty one that ends it included.
    const int ultima = g->Rows() - 1 - g->FixedRows();
    if (ultima >= 0 && g->rowViewportPosition(ultima) >= 0 &&
        g->rowViewportPosition(ultima) + g->rowHeight(ultima) > g->viewport()->height())
        cortados << Linea(g, QStringLiteral("fila %1").arg(ultima + 1),
                          g->rowViewportPosition(ultima) + g->rowHeight(ultima),
                          g->viewport()->height());
    const int alto = g->fontMetrics().height();
    if (g->rowHeight(0) < alto) cortados << Linea(g, "alto de fila", alto, g->rowHeight(0));
}

// A closed list shows its current entry in its edit field; an editable one is a text box inside.
void Combo(const QComboBox* c, QStringList& cortados) {
    if (c->isEditable() || c->currentText().isEmpty()) return;
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    opt.editable = false;
    opt.frame = c->hasFrame();
    opt.currentText = c->currentText();
    opt.currentIcon = c->itemIcon(c->currentIndex());
    opt.iconSize = c->iconSize();
    // The style draws the entry a pixel in from each side of the field.
    const int tiene =
        c->style()
            ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c)
            .width() -
        2;
    int necesita = Ancho(c, opt.currentText);
    if (!opt.currentIcon.isNull()) necesita += opt.iconSize.width() + 4;
    if (necesita > tiene) cortados << Linea(c, opt.currentText, necesita, tiene);
}

// A list over a model (the F2 lookup): captions and every row's cells, not only those on screen.
void Lista(const QTableView* v, QStringList& cortados) {
    const QAbstractItemModel* m = v->model();
    if (!m) return;
    const int margen = 2 * (v->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, v) + 1);
    for (int c = 0; c < m->columnCount(); ++c) {
        if (v->isColumnHidden(c)) continue;
        const int tiene = v->columnWidth(c);
        QStyleOptionHeader opt;
        opt.initFrom(v->horizontalHeader());
        opt.text = m->headerData(c, Qt::Horizontal).toString();
        const int cabecera =
            v->style()->sizeFromContents(QStyle::CT_HeaderSection, &opt, QSize(), v).width();
        if (cabecera > tiene) cortados << Linea(v, opt.text, cabecera, tiene);
        for (int r = 0; r < m->rowCount(); ++r) {
            const QString t = m->data(m->index(r, c)).toString();
            if (!t.isEmpty() && Ancho(v, t) + margen > tiene)
                cortados << Linea(v, t, Ancho(v, t) + margen, tiene);
        }
    }
}

}  // namespace

QStringList GrillasAnchas(const QWidget* ventana) {
    QStringList anchas;
    for (const Grid* g : ventana->findChildren<Grid*>()) {
        if (!g->isVisibleTo(ventana)) continue;
        int columnas = 0;
        for (int c = 0; c < g->Cols(); ++c)
            if (!g->isColumnHidden(c)) columnas += g->columnWidth(c);
        if (columnas > g->viewport()->width())
            anchas << Linea(g, QStringLiteral("columnas"), columnas, g->viewport()->width());
    }
    return anchas;
}

QStringList FueraDeLaVentana(const QWidget* ventana) {
    QStringList fuera;
    for (const QWidget* w : ventana->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(ventana)) continue;
        bool desplaza = false;
        for (const QWidget* p = w->parentWidget(); p && p != ventana; p = p->parentWidget())
            desplaza = desplaza || qobject_cast<const QAbstractScrollArea*>(p);
        if (desplaza) continue;
        const QRect r = w->geometry();
        const QRect hay = w->parentWidget()->rect();
        if (r.right() > hay.right())
            fuera << Linea(w, QStringLiteral("fuera"), r.right() + 1, hay.width());
        else if (r.bottom() > hay.bottom())
            fuera << Linea(w, QStringLiteral("fuera abajo"), r.bottom() + 1, hay.height());
    }
    return fuera;
}

QStringList TextosCortados(const QWidget* ventana) {
    QStringList cortados;
    for (const QWidget* w : ventana->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(ventana)) continue;
        if (const auto* l = qobject_cast<const QLabel*>(w)) {
            const QRect r = l->contentsRect();
            const QRect necesita = l->fontMetrics().boundingRect(
                r, int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0), l->text());
            if (necesita.width() > r.width() || necesita.height() > r.height())
                cortados << Linea(l, l->text(), necesita.width(), r.width());
        } else if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
            // A push button's size hint asks a minimum width of its own; its text needs less.
            const QStyle* st = b->style();
            const int necesita =
                qobject_cast<const QPushButton*>(b)
                    ? b->fontMetrics().size(Qt::TextShowMnemonic, b->text()).width() +
                          st->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b) +
                          2 * st->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b)
                    : b->sizeHint().width();
            if (!b->text().isEmpty() && necesita > b->width())
                cortados << Linea(b, b->text(), necesita, b->width());
        } else if (const auto* e = qobject_cast<const QLineEdit*>(w)) {
            // The frame and the box's own margin of two pixels each side.
            const int marco = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, e);
            const int tiene = e->width() - 2 * marco - 4;
            const QString t = e->displayText();
            if (Ancho(e, t) > tiene) cortados << Linea(e, t, Ancho(e, t), tiene);
        } else if (const auto* f = qobject_cast<const QGroupBox*>(w)) {
            if (Ancho(f, f->title()) > f->width())
                cortados << Linea(f, f->title(), Ancho(f, f->title()), f->width());
        } else if (const auto* g = qobject_cast<const Grid*>(w)) {
            Grilla(g, cortados);
        } else if (const auto* c = qobject_cast<const QComboBox*>(w)) {
            Combo(c, cortados);
        } else if (const auto* v = qobject_cast<const QTableView*>(w)) {
            Lista(v, cortados);
        }
    }
    return cortados;
}

}  // namespace zul::prueba
