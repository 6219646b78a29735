// The about box and its hyperlink label, driven with mouse events.

#include <QFrame>
#include <QMouseEvent>
#include <QPointer>
#include <QToolButton>
#include <QtTest>

#include "platform/Ventana.h"
#include "utilities/About.h"
#include "utilities/Class1.h"
#include "utilities/Fabricante.h"

using namespace zul;

namespace {

const QColor kNormal(0, 0, 192), kArriba(0, 0, 255), kAbajo(255, 255, 255);

void Raton(QWidget* w, QEvent::Type tipo, QPoint donde, Qt::MouseButton boton,
           Qt::MouseButtons apretados) {
    QMouseEvent e(tipo, donde, w->mapToGlobal(donde), boton, apretados, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

}  // namespace

class TstAbout : public QObject {
    Q_OBJECT

    QList<QUrl> abiertas_;

  private slots:
    void init() {
        abiertas_.clear();
        Class1::AbrirDireccion = [this](const QUrl& url) {
            abiertas_ << url;
            return false;  // a failing handler shows nothing
        };
    }

    void tamanioDelTexto_data() {
        QTest::addColumn<QString>("propiedad");
        QTest::newRow("texto") << "texto";
        QTest::newRow("tamaño") << "FontSize";
        QTest::newRow("negrita") << "FontBold";
        QTest::newRow("cursiva") << "FontItalic";
        QTest::newRow("fuente") << "FontName";
        QTest::newRow("borde") << "Borde";
    }

    void tamanioDelTexto() {
        QFETCH(QString, propiedad);
        QWidget ventana;
        auto* caja = new QFrame(&ventana);
        Class1 link;
        link.Iniciar(caja, &ventana);
        link.setTexto("www.zul.example");
        if (propiedad == "texto") link.setTexto("https://www.núñez-dalessandro.example/contacto");
        if (propiedad == "FontSize") link.setFontSize(20);
        if (propiedad == "FontBold") link.setFontBold(true);
        if (propiedad == "FontItalic") link.setFontItalic(true);
        if (propiedad == "FontName") link.setFontName("Serif");
        if (propiedad == "Borde") link.setBorde(true);
        QFont f = caja->font();
        const QFontMetrics m(f);
        QCOMPARE(caja->size(),
                 QSize(m.horizontalAdvance(link.texto()) + Twips(80), m.height() + Twips(40)));
        QCOMPARE(link.Borde(), propiedad == "Borde");
        QCOMPARE(caja->frameShape() != QFrame::NoFrame, propiedad == "Borde");
    }

    void coloresYClic_data() {
        QTest::addColumn<QString>("gestos");  // m: move inside, f: move outside, p/s: left
                                              // press/release inside, S: release outside,
                                              // d/D: right press/release
        QTest::addColumn<QColor>("color");
        QTest::addColumn<int>("estado");
        QTest::addColumn<int>("abiertas");
        QTest::newRow("en reposo") << "" << kNormal << 0 << 0;
        QTest::newRow("encima") << "m" << kArriba << 0 << 0;
        QTest::newRow("encima y fuera") << "mf" << kNormal << 0 << 0;
        QTest::newRow("apretado") << "mp" << kAbajo << 1 << 0;
        QTest::newRow("apretado y movido dentro") << "mpm" << kAbajo << 1 << 0;
        QTest::newRow("arrastrado fuera") << "mpf" << kNormal << 1 << 0;
        QTest::newRow("y vuelto a entrar") << "mpfm" << kAbajo << 1 << 0;
        QTest::newRow("soltado dentro abre") << "mps" << kArriba << 0 << 1;
        QTest::newRow("fuera, dentro y soltado") << "mpfms" << kArriba << 0 << 1;
        QTest::newRow("soltado fuera no abre") << "mpfS" << kNormal << 0 << 0;
        QTest::newRow("botón derecho no abre") << "mdD" << kArriba << 0 << 0;
    }

    void coloresYClic() {
        QFETCH(QString, gestos);
        QFETCH(QColor, color);
        QFETCH(int, estado);
        QFETCH(int, abiertas);
        QPointer<About> w = new About;
        auto* caja = w->findChild<QFrame*>("Picture1");
        Class1* link = w->findChild<Class1*>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QPoint dentro = caja->rect().center(), fuera(caja->width() + 30, -20);
        Qt::MouseButtons apretados;
        for (QChar g : gestos) {
            switch (g.toLatin1()) {
                case 'm':
                    Raton(caja, QEvent::MouseMove, dentro, Qt::NoButton, apretados);
                    break;
                case 'f':
                    Raton(caja, QEvent::MouseMove, fuera, Qt::NoButton, apretados);
                    break;
                case 'p':
                    apretados = Qt::LeftButton;
                    Raton(caja, QEvent::MouseButtonPress, dentro, Qt::LeftButton, apretados);
                    break;
                case 's':
                case 'S':
                    apretados = {};
                    Raton(caja, QEvent::MouseButtonRelease, g == 's' ? dentro : fuera,
                          Qt::LeftButton, apretados);
                    break;
                case 'd':
                    Raton(caja, QEvent::MouseButtonPress, dentro, Qt::RightButton, Qt::RightButton);
                    break;
                case 'D':
                    Raton(caja, QEvent::MouseButtonRelease, dentro, Qt::RightButton, {});
                    break;
            }
        }
        const QImage imagen = caja->grab().toImage();
        bool pintado = false;
        for (int y = 0; y < imagen.height() && !pintado; ++y)
            for (int x = 0; x < imagen.width() && !pintado; ++x)
                pintado = imagen.pixelColor(x, y) == color;
        QCOMPARE(link->colorActual(), color);
        QCOMPARE(link->estado(), estado);
        QVERIFY2(pintado, "the text is not drawn in the expected colour");
        QCOMPARE(abiertas_.size(), abiertas);
        if (abiertas) QCOMPARE(abiertas_[0], QUrl(fabricante::Url()));
        delete w;
    }

    void laVentana() {
        QPointer<About> w = new About;
        QCOMPARE(w->windowTitle(), QString("Acerca de ... "));
        auto* caja = w->findChild<QFrame*>("Picture1");
        QCOMPARE(caja->toolTip(), fabricante::Url());
        QVERIFY(caja->font().underline());
        QCOMPARE(caja->font().pointSizeF(), 8.0);
        auto* cerrar = w->findChild<QToolButton*>("Image2");
        QCOMPARE(cerrar->toolTip(), QString("Salir"));
        w->show();
        QTest::mouseClick(cerrar, Qt::LeftButton);
        QTRY_VERIFY(w.isNull());
    }

    void coloresDeWindows_data() {
        QTest::addColumn<uint>("bgr");
        QTest::addColumn<QColor>("rgb");
        QTest::newRow("&HC00000") << 0xC00000u << kNormal;
        QTest::newRow("&HFF0000") << 0xFF0000u << kArriba;
        QTest::newRow("&HFFFFFF") << 0xFFFFFFu << kAbajo;
        QTest::newRow("&H0080FF") << 0x0080FFu << QColor(255, 128, 0);
    }

    void coloresDeWindows() {
        QFETCH(uint, bgr);
        QFETCH(QColor, rgb);
        QCOMPARE(QColor(ColorBGR(bgr)), rgb);
    }
};

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
