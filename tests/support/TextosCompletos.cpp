#include "support/TextosCompletos.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

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

// A control inside a list or work area that scrolls what it holds is reached by scrolling.
bool DentroDeUnaLista(const QWidget* w, const QWidget* ventana) {
    for (const QWidget* p = w->parentWidget(); p && p != ventana; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(p)) return true;
    return false;
}

// Where the window's controls can be seen, in screen coordinates: the screen's free area, and
// within it the visible part of every work area the window lies in.
QRect Visible(const QWidget* ventana) {
    const QScreen* pantalla = ventana->screen();
    QRect visible = pantalla ? pantalla->availableGeometry() : QRect();
    for (const QWidget* p = ventana->parentWidget(); p; p = p->parentWidget())
        if (const auto* area = qobject_cast<const QMdiArea*>(p))
            visible &= QRect(area->viewport()->mapToGlobal(QPoint(0, 0)), area->viewport()->size());
    return visible;
}

QString Rectangulo(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
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
        if (DentroDeUnaLista(w, ventana)) continue;
        const QRect r = w->geometry();
        const QRect hay = w->parentWidget()->rect();
        if (r.right() > hay.right())
            fuera << Linea(w, QStringLiteral("fuera"), r.right() + 1, hay.width());
        else if (r.bottom() > hay.bottom())
            fuera << Linea(w, QStringLiteral("fuera abajo"), r.bottom() + 1, hay.height());
    }
    return fuera;
}

QStringList PrincipiosOcultos(const QWidget* ventana) {
    QStringList ocultos;
    for (QLineEdit* e : ventana->findChildren<QLineEdit*>()) {
        if (!e->isVisibleTo(ventana) || e->text().isEmpty()) continue;
        // A box settles which part of its text it shows when it is drawn.
        e->grab();
        const int primera = e->cursorPositionAt(QPoint(0, e->height() / 2));
        if (primera > 0)
            ocultos << QStringLiteral("%1: '%2' desde '%3'")
                           .arg(e->objectName(), e->text(), e->text().mid(primera));
    }
    return ocultos;
}

QStringList FueraDelArea(const QWidget* ventana) {
    const QRect visible = Visible(ventana);
    QStringList fuera;
    const auto revisar = [&](const QWidget* w, const QRect& r) {
        if (!visible.contains(r))
            fuera << QStringLiteral("%1: fuera del área %2 en %3")
                         .arg(w->objectName(), Rectangulo(r), Rectangulo(visible));
    };
    // The window whole, with its frame: a title bar out of sight cannot be taken to move it.
    if (ventana->isWindow())
        revisar(ventana, ventana->frameGeometry());
    else if (const auto* marco = qobject_cast<const QMdiSubWindow*>(ventana->parentWidget()))
        revisar(marco, QRect(marco->mapToGlobal(QPoint(0, 0)), marco->size()));
    for (const QWidget* w : ventana->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(ventana) || DentroDeUnaLista(w, ventana)) continue;
        revisar(w, QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
    }
    return fuera;
}

bool EnPantalla(const QSize& pantalla) {
    // The offscreen platform draws no taskbar and no title bars: the screen it is given is what
    // a desktop leaves free, less the main window's title bar.
    constexpr int kBarraDeTareas = 40;
    constexpr int kTitulo = 30;
    const QSize libre = pantalla - QSize(0, kBarraDeTareas + kTitulo);
    const QScreen* actual = QGuiApplication::primaryScreen();
    if (actual && actual->geometry().size() == libre) return true;
    const char* const kOtroPrograma = "ZUL_PRUEBA_EN_PANTALLA";
    if (qEnvironmentVariableIsSet(kOtroPrograma)) {
        QTest::qFail("la plataforma no tomó el tamaño de pantalla pedido", __FILE__, __LINE__);
        return false;
    }
    // The offscreen platform reads its screens from a file named in its options.
    QTemporaryDir carpeta;
    QFile config(carpeta.filePath(QStringLiteral("pantalla.json")));
    if (!config.open(QIODevice::WriteOnly)) {
        QTest::qFail("no se pudo escribir la configuración de pantalla", __FILE__, __LINE__);
        return false;
    }
    const QJsonObject una{{"name", "pantalla"},
                          {"x", 0},
                          {"y", 0},
                          {"width", libre.width()},
                          {"height", libre.height()},
                          {"logicalDpi", 96},
                          {"logicalBaseDpi", 96},
                          {"dpr", 1}};
    config.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{una}}}).toJson());
    config.close();

    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("QT_QPA_PLATFORM"),
                   QStringLiteral("offscreen:configfile=") + config.fileName());
    entorno.insert(QString::fromLatin1(kOtroPrograma), QStringLiteral("1"));
    QProcess otro;
    otro.setProcessEnvironment(entorno);
    otro.setProcessChannelMode(QProcess::MergedChannels);
    otro.start(QCoreApplication::applicationFilePath(),
               {QString::fromUtf8(QTest::currentTestFunction()) + QLatin1Char(':') +
                QString::fromUtf8(QTest::currentDataTag())});
    const bool termino = otro.waitForFinished(240000);
    if (!termino || otro.exitStatus() != QProcess::NormalExit || otro.exitCode() != 0)
        QTest::qFail(qPrintable(QStringLiteral("en una pantalla de %1x%2:\n")
                                    .arg(pantalla.width())
                                    .arg(pantalla.height()) +
                                QString::fromUtf8(otro.readAll())),
                     __FILE__, __LINE__);
    return false;
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
