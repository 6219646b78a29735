// Laying reports out on pages: columns that widen for what must not break, rows that wrap,
// long tables that repeat their headers and never split a row, headings that go with what they
// head.

#include <QPrinter>
#include <QtTest>

#include "platform/ImpresionInforme.h"
#include "platform/ReportControl.h"

using namespace zul;

namespace {

struct Hoja {
    QPrinter impresora{QPrinter::HighResolution};
    Hoja() {
        impresora.setOutputFormat(QPrinter::PdfFormat);
        PrepararHoja(impresora);
    }
};

// Where each text went, over all pages.
struct Ubicado {
    int pagina;
    ParrafoUbicado u;
};

std::vector<Ubicado> Todos(const ImpresionInforme& imp) {
    std::vector<Ubicado> r;
    for (size_t i = 0; i < imp.paginas().size(); ++i)
        for (const ParrafoUbicado& u : imp.paginas()[i].parrafos)
            r.push_back({static_cast<int>(i), u});
    return r;
}

const Ubicado* Buscar(const std::vector<Ubicado>& todos, const QString& texto) {
    for (const Ubicado& x : todos)
        if (x.u.parrafo->texto() == texto) return &x;
    return nullptr;
}

// A table of `filas` rows that fills pages ahead of what a test places after it.
QString Relleno(int filas) {
    QString html = "<table style='font-size: 7pt'>";
    for (int i = 0; i < filas; ++i) html += QString("<tr><td>relleno %1</td></tr>").arg(i);
    return html + "</table>";
}

}  // namespace

class TstImpresionInforme : public QObject {
    Q_OBJECT

  private slots:
    void loQueNoSeParteEnsanchaSuColumna_data();
    void loQueNoSeParteEnsanchaSuColumna();
    void tablaLargaRepiteEncabezados();
    void tituloConLoQueSigue_data();
    void tituloConLoQueSigue();
};

void TstImpresionInforme::loQueNoSeParteEnsanchaSuColumna_data() {
    QTest::addColumn<QString>("celda");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("lineas");
    QTest::newRow("importe sin partir") << "<td width='5%' style='white-space: nowrap'>"
                                        << "99.999.999,99" << 1;
    QTest::newRow("una palabra") << "<td width='3%'>"
                                 << "Préstamo" << 1;
    QTest::newRow("nombre largo, en renglones")
        << "<td width='10%'>"
        << "Núñez D'Alessandro, María de los Ángeles Guadalupe" << 4;
}

void TstImpresionInforme::loQueNoSeParteEnsanchaSuColumna() {
    QFETCH(QString, celda);
    QFETCH(QString, texto);
    QFETCH(int, lineas);
    Hoja hoja;
    const QString html =
        "<body style='font-family: Arial; font-size: 9pt'><table width='100%' "
        "border='1'><tr>" +
        celda + texto.toHtmlEscaped() +
        "</td><td width='45%'>resto</td><td width='50%'>otra</td></tr></table>";
    const DocumentoInforme doc = LeerHtml(html);
    ImpresionInforme imp(doc, &hoja.impresora, AreaDeTexto(hoja.impresora));
    const auto todos = Todos(imp);
    const Ubicado* u = Buscar(todos, texto);
    QVERIFY(u);
    QVERIFY2(u->u.ancho <= u->u.caja.width(), qPrintable(texto + " no cabe"));
    QVERIFY2(u->u.lineas >= lineas && (lineas > 1 || u->u.lineas == 1),
             qPrintable(QString::number(u->u.lineas)));
    // The cell grows with its lines; the others keep their place.
    const Ubicado* resto = Buscar(todos, "resto");
    QVERIFY(resto && resto->u.caja.left() >= u->u.caja.right());
    QCOMPARE(resto->u.caja.top(), u->u.caja.top());
    const double renglon = resto->u.caja.height();
    QVERIFY(u->u.caja.height() >= renglon * u->u.lineas - 1);
}

void TstImpresionInforme::tablaLargaRepiteEncabezados() {
    Hoja hoja;
    QString html =
        "<p>Título</p><table border=1 cellpadding=2><thead><tr><th>Código</th>"
        "<th>Nombre</th></tr></thead>";
    for (int i = 1; i <= 300; ++i)
        html += QString("<tr><td>%1</td><td>%2</td></tr>")
                    .arg(i)
                    .arg(i % 50 == 0 ? "Fila larga " + QString("palabra ").repeated(40)
                                     : "Empleado " + QString::number(i));
    html += "</table><p>Fin</p>";
    const DocumentoInforme doc = LeerHtml(html);
    const QRectF area = AreaDeTexto(hoja.impresora);
    ImpresionInforme imp(doc, &hoja.impresora, area);
    const auto& paginas = imp.paginas();
    QVERIFY(paginas.size() >= 4);
    int filas = 0;
    for (size_t p = 0; p < paginas.size(); ++p) {
        const auto& ps = paginas[p].parrafos;
        // Each page of the table opens with its header; nothing leaves the text area.
        const size_t primero = p == 0 ? 1 : 0;
        QCOMPARE(ps.at(primero).parrafo->texto(), QString("Código"));
        for (const ParrafoUbicado& u : ps) {
            QVERIFY(area.contains(u.caja));
            if (u.parrafo->texto().startsWith("Empleado") ||
                u.parrafo->texto().startsWith("Fila larga"))
                ++filas;
        }
    }
    QCOMPARE(filas, 300);  // every row once: none split, none lost
    QCOMPARE(Todos(imp).back().u.parrafo->texto(), QString("Fin"));
}

void TstImpresionInforme::tituloConLoQueSigue_data() {
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("sigue");
    QTest::addColumn<QString>("primero");  // the first text after the heading
    const QString tabla =
        "<table border=1><thead><tr><th>%1</th></tr></thead>"
        "<tr><td>Gómez, Ana</td></tr><tr><td>Pérez, José</td></tr></table>";
    QTest::newRow("título de una tabla")
        << "<p style='page-break-after: avoid'>Bajas del personal</p>" << tabla.arg("Código")
        << "Gómez, Ana";
    QTest::newRow("título de un párrafo")
        << "<p style='page-break-after: avoid'>Bajas del personal</p>"
        << "<p>Sin bajas en el período.</p>"
        << "Sin bajas en el período.";
    QTest::newRow("fila de títulos de una tabla")
        << "" << tabla.arg("Bajas del personal") << "Gómez, Ana";
}

// Wherever the page ends, a heading (a paragraph marked so, a table's header rows) shares its
// page with the start of what it heads.
void TstImpresionInforme::tituloConLoQueSigue() {
    QFETCH(QString, titulo);
    QFETCH(QString, sigue);
    QFETCH(QString, primero);
    Hoja hoja;
    for (int filas = 40; filas < 140; ++filas) {
        const DocumentoInforme doc = LeerHtml(Relleno(filas) + titulo + sigue);
        ImpresionInforme imp(doc, &hoja.impresora, AreaDeTexto(hoja.impresora));
        const auto todos = Todos(imp);
        const Ubicado* t = Buscar(todos, "Bajas del personal");
        const Ubicado* p = Buscar(todos, primero);
        QVERIFY(t && p);
        QVERIFY2(t->pagina == p->pagina,
                 qPrintable(QString("con %1 filas antes, solo al pie de la página %2")
                                .arg(filas)
                                .arg(t->pagina + 1)));
    }
}

QTEST_MAIN(TstImpresionInforme)
#include "tst_impresioninforme.moc"
