// The light report document: what it reads of a template's HTML, how table columns share the
// width, and the RTF written from it.

#include <QTest>
#include <numeric>

#include "platform/DocumentoInforme.h"
#include "platform/RtfWriter.h"

using namespace zul;

namespace {

// A paragraph as one line: pictures as <img:name WxH>, line breaks as <br>.
QString Linea(const Parrafo& p) {
    QString t;
    for (const Tramo& r : p.tramos)
        t += r.imagen.isEmpty()
                 ? QString(r.texto).replace(QChar::LineSeparator, QLatin1String("<br>"))
                 : QStringLiteral("<img:%1 %2x%3>").arg(r.imagen).arg(r.ancho).arg(r.alto);
    return t;
}

// The document's structure in a line per block: tables as [(cell|cell)(...)], header rows
// marked h, a cell's paragraphs joined by /, spans as *N; the page header's blocks first, after
// "E:".
QString Volcado(const DocumentoInforme& d) {
    QString v = d.titulo.isEmpty() ? QString() : "T:" + d.titulo + '\n';
    for (const Bloque& b : d.encabezado) v += "E:" + Linea(b.p) + '\n';
    for (const Bloque& b : d.bloques) {
        if (b.tipo == Bloque::parrafo) {
            v += Linea(b.p) + '\n';
            continue;
        }
        v += '[';
        for (size_t r = 0; r < b.t.filas.size(); ++r) {
            QStringList celdas;
            for (const Celda& c : b.t.filas[r].celdas) {
                QStringList ps;
                for (const Parrafo& p : c.parrafos) ps << Linea(p);
                celdas << ps.join('/') + (c.columnas > 1 ? "*" + QString::number(c.columnas) : "");
            }
            v += (static_cast<int>(r) < b.t.filasEncabezado ? "h(" : "(") + celdas.join('|') + ')';
        }
        v += "]\n";
    }
    return v;
}

// How the run reading `texto` looks, with its paragraph and cell.
QString Aspecto(const DocumentoInforme& d, const QString& texto) {
    const auto describir = [&](const Parrafo& p, const QColor& fondo) -> QString {
        for (const Tramo& r : p.tramos) {
            if (r.texto != texto) continue;
            const EstiloTexto& e = r.estilo;
            QString a = QString::number(e.puntos) + "pt";
            if (e.negrita) a += " b";
            if (e.cursiva) a += " i";
            if (e.subrayado) a += " u";
            const Qt::Alignment al = p.alineacion;
            a += (al & Qt::AlignHCenter)   ? " centro"
                 : (al & Qt::AlignRight)   ? " der"
                 : (al & Qt::AlignJustify) ? " just"
                                           : " izq";
            if (p.sinCorte) a += " nowrap";
            if (p.conSiguiente) a += " con el siguiente";
            if (fondo.isValid()) a += " fondo " + fondo.name();
            if (e.color.isValid()) a += " color " + e.color.name();
            if (!e.familias.isEmpty()) a += ' ' + e.familias.join(',');
            return a;
        }
        return {};
    };
    for (const Bloque& b : d.bloques) {
        QString a = describir(b.p, {});
        for (const Fila& f : b.t.filas)
            for (const Celda& c : f.celdas)
                for (const Parrafo& p : c.parrafos)
                    if (a.isEmpty()) a = describir(p, c.fondo);
        if (!a.isEmpty()) return a;
    }
    return "no está";
}

// The RTF between the header and the closing brace.
QByteArray Cuerpo(const QByteArray& rtf) {
    const QByteArray inicio = "\\fs20\n";
    const qsizetype i = rtf.indexOf(inicio) + inicio.size();
    return rtf.mid(i, rtf.size() - i - 2);
}

// A row of two texts written in UTF-8.
void Caso(const char* nombre, const char* html, const char* esperado) {
    QTest::newRow(nombre) << QString::fromUtf8(html) << QString::fromUtf8(esperado);
}

const QByteArray kBordes =
    "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs"
    "\\brdrw10";

}  // namespace

class TstDocumentoInforme : public QObject {
    Q_OBJECT

  private slots:
    void lectura_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("volcado");
        Caso("blancos entre etiquetas", "a <b>b</b> c", "a b c\n");
        Caso("blancos repetidos", "<p>a \n\t b</p>", "a b\n");
        Caso("blancos al borde", "<p>  a  </p>", "a\n");
        Caso("un blanco a cada lado de etiquetas", "<b>a </b><i> b</i>", "a b\n");
        Caso("blanco entre párrafos", "<p>a</p> \n <p>b</p>", "a\nb\n");
        Caso("entidades", "<p>&amp;&lt;&gt;&quot;&apos;&#39;&#xF1;&#209;&nbsp;x</p>",
             "&<>\"''ñÑ\u00A0x\n");
        Caso("entidades desconocidas", "<p>&foo; & &#xZZ; a&b &AMP;</p>",
             "&foo; & &#xZZ; a&b &AMP;\n");
        Caso("saltos de línea", "<p>a <br> b<br/>c</p>", "a<br>b<br>c\n");
        Caso("salto al final del párrafo", "<p><b>a</b><br></p><p>b<br><br></p>", "a\nb<br>\n");
        Caso("título y cabecera",
             "<html><head><title> Cupón  de\n pago </title><style>p { color: red }</style>"
             "<meta charset=utf-8></head><body>a</body></html>",
             "T:Cupón de pago\na\n");
        Caso("cabecera sin cerrar", "<head><title>t</title><body>a</body>", "T:t\na\n");
        Caso("comentarios", "<!-- x <p>y</p> -->a<!DOCTYPE html>b", "ab\n");
        Caso("etiquetas desconocidas", "<font color=red>a</font> <blink>b</blink>", "a b\n");
        Caso("p sin cierre", "<p>a<p>b", "a\nb\n");
        Caso("tabla", "<table><tr><td>a</td><td>b</td></tr></table>", "[(a|b)]\n");
        Caso("td y tr sin cierre", "<table><tr><td>a<td>b<tr><td>c</table>d", "[(a|b)(c)]\nd\n");
        Caso("encabezado", "<table><thead><tr><th>A<th>B</thead><tbody><tr><td>1<td>2</table>",
             "[h(A|B)(1|2)]\n");
        Caso("encabezado cerrado por tbody",
             "<table><thead><tr><th>A</th></tr><tbody><tr><td>1</td></tr></table>", "[h(A)(1)]\n");
        Caso("colspan", "<table><tr><td colspan=2>a</td></tr><tr><td>b</td><td>c</td></tr></table>",
             "[(a*2)(b|c)]\n");
        Caso("colspan desmedido",
             "<table><tr><td colspan=2000000000>a<td colspan=2000000000>b</table>",
             "[(a*1000|b*1000)]\n");
        Caso("texto en la tabla fuera de celdas", "<table>x<tr><td>a</td>y</tr></table>",
             "[(x)(a|y)]\n");
        Caso("tabla dentro de una celda",
             "<table><tr><td><table><tr><td>a</td><td>b</td></tr></table>c</td><td>d</td></tr>"
             "</table>",
             "[(a/b/c|d)]\n");
        Caso("párrafos en una celda", "<table><tr><td><p>a</p><p>b</p></td></tr></table>",
             "[(a/b)]\n");
        Caso("imagen", "<p>a <img src=\"barras\" width=\"300\" height=\"60\" /> b</p>",
             "a <img:barras 300x60> b\n");
        Caso("imagen sin medidas", "<img src=x>", "<img:x 0x0>\n");
        Caso("encabezado de página", "<header><p>Compañía <b>Ñandú</b></p></header><p>a</p>",
             "E:Compañía Ñandú\na\n");
    }

    // Every table also shares out a width among exactly its columns.
    void lectura() {
        QFETCH(QString, html);
        QFETCH(QString, volcado);
        const DocumentoInforme d = LeerHtml(html);
        QCOMPARE(Volcado(d), volcado);
        for (const Bloque& b : d.bloques) {
            const std::vector<double> w = b.t.anchos(1000, 1);
            QCOMPARE(static_cast<int>(w.size()), b.t.columnas());
            QVERIFY(std::accumulate(w.begin(), w.end(), 0.0) <= 1000.001);
        }
    }

    void estilos_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("aspecto");
        Caso("del cuerpo",
             "<body style=\"font-family: Arial, 'Liberation Sans'; font-size: 11pt\"><p>x</p>",
             "11pt izq Arial,Liberation Sans");
        Caso("en píxeles", "<p style='font-size: 16px'>x</p>", "12pt izq");
        Caso("en porcentaje", "<body style='font-size: 10pt'><p style='font-size: 120%'>x</p>",
             "12pt izq");
        Caso("de la tabla a sus celdas",
             "<body style='font-size: 9pt'><table style='font-size: 7pt'><tr><td>x</table>",
             "7pt izq");
        Caso("de la fila a sus celdas",
             "<table><tr style='background-color: #e0e0e0; font-weight: bold'><td>x</table>",
             "9pt b izq fondo #e0e0e0");
        Caso("fondo de la tabla", "<table bgcolor='#ffeedd'><tr><td>x</table>",
             "9pt izq fondo #ffeedd");
        Caso("fondo que no pasa a la fila siguiente",
             "<table><tr bgcolor=#e0e0e0><td>a</td></tr><tr><td>x</td></tr></table>", "9pt izq");
        Caso("th", "<table><tr><th>x</th></tr></table>", "9pt b centro");
        Caso("th normal a la izquierda",
             "<table><tr><th align=left style='font-weight: normal'>x</th></tr></table>",
             "9pt izq");
        Caso("td a la derecha sin corte",
             "<table><tr><td align=right style='white-space: nowrap'>x</td></tr></table>",
             "9pt der nowrap");
        Caso("alineación de la fila", "<table><tr align=center><td>x</td></tr></table>",
             "9pt centro");
        Caso("la tabla no hereda alineación",
             "<div align=center><table><tr><td>x</td></tr></table></div>", "9pt izq");
        Caso("anidados", "<p align=justify><b>a<i>x</i></b></p>", "9pt b i just");
        Caso("subrayado y color", "<p><u><span style='color: #336699'>x</span></u></p>",
             "9pt u izq color #336699");
        Caso("decoración y cursiva",
             "<span style='text-decoration: underline; font-style: italic'>x</span>",
             "9pt i u izq");
        Caso("título", "<h1>x</h1>", "18pt b izq");
        Caso("peso numérico", "<span style='font-weight: 700'>x</span>", "9pt b izq");
        Caso("mayúsculas y blancos", "<P STYLE=' FONT-SIZE : 10PT ; TEXT-ALIGN:RIGHT'>x</P>",
             "10pt der");
        Caso("con lo que le sigue", "<p style='page-break-after: avoid'><b>x</b></p><p>y</p>",
             "9pt b izq con el siguiente");
    }

    void estilos() {
        QFETCH(QString, html);
        QFETCH(QString, aspecto);
        QCOMPARE(Aspecto(LeerHtml(html), "x"), aspecto);
    }

    void anchos_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("tabla");
        QTest::addColumn<QList<int>>("anchos");  // for 1000 units, 2 units per pixel
        QTest::newRow("porcentajes y libres")
            << "<table><tr><td width='20%'>a<td width=30%>b<td>c<td>d</table>"
            << "100%" << QList<int>{200, 300, 250, 250};
        QTest::newRow("todo dado") << "<table width=50%><tr><td width=25%><td width=75%></table>"
                                   << "50%" << QList<int>{250, 750};
        QTest::newRow("más del total") << "<table><tr><td width=60%><td width=60%></table>"
                                       << "100%" << QList<int>{500, 500};
        QTest::newRow("más del total con libres")
            << "<table><tr><td width=70%><td width=40%><td></table>"
            << "100%" << QList<int>{609, 348, 43};
        QTest::newRow("píxeles") << "<table width=400><tr><td width=120>a<td>b</table>"
                                 << "400px" << QList<int>{240, 760};
        QTest::newRow("ancho en otra fila")
            << "<table><tr><td>a<td>b</tr><tr><td width=30%>c<td>d</table>"
            << "100%" << QList<int>{300, 700};
        QTest::newRow("una celda extendida no fija ancho")
            << "<table><tr><td colspan=2 width=50%>x</tr><tr><td width=10%>a<td>b</table>"
            << "100%" << QList<int>{100, 900};
    }

    void anchos() {
        QFETCH(QString, html);
        QFETCH(QString, tabla);
        QFETCH(QList<int>, anchos);
        const DocumentoInforme d = LeerHtml(html);
        QCOMPARE(d.bloques.size(), size_t(1));
        const Tabla& t = d.bloques[0].t;
        QCOMPARE(t.anchoPorciento > 0 ? QString::number(t.anchoPorciento) + '%'
                                      : QString::number(t.anchoPixeles) + "px",
                 tabla);
        QList<int> w;
        for (double x : t.anchos(1000, 2)) w << qRound(x);
        QCOMPARE(w, anchos);
    }

    void rtfDeTablasYCaracteres() {
        const DocumentoInforme doc = LeerHtml(QString::fromUtf8(
            "<p align=center style='font-size:14pt'><b>Año {1} \\ €</b></p>"
            "<table border=1><tr><td colspan=2>Ñ</td></tr><tr><td>a</td><td><i>b</i></td></tr>"
            "</table><p>ﬁn</p>"));
        const QByteArray rtf = EscribirRtf({&doc});
        QVERIFY(rtf.contains("\\qc"));
        QVERIFY(rtf.contains("\\fs28\\b A\\u241\\'f1o \\{1\\} \\\\ \\u8364\\'80"));
        QCOMPARE(rtf.count("\\row"), 2);
        QCOMPARE(rtf.count("\\cell\n"), 3);  // the spanning cell is one
        QVERIFY(rtf.contains("\\i b"));
        QCOMPARE(rtf.count('{'), rtf.count('}'));
        for (char c : rtf) QVERIFY(static_cast<unsigned char>(c) < 0x80);  // pure 7-bit
    }

    void rtfCaracterSinAscii_data() {
        QTest::addColumn<QString>("caracter");
        QTest::addColumn<QByteArray>("rtf");
        QTest::newRow("acento") << "ó" << QByteArray("\\u243\\'f3");
        QTest::newRow("eñe mayúscula") << "Ñ" << QByteArray("\\u209\\'d1");
        QTest::newRow("grado") << "º" << QByteArray("\\u186\\'ba");
        QTest::newRow("euro, propio de 1252") << "€" << QByteArray("\\u8364\\'80");
        QTest::newRow("raya, propia de 1252") << "—" << QByteArray("\\u8212\\'97");
        QTest::newRow("fuera de 1252, con signo") << "ﬁ" << QByteArray("\\u-1279?");
        QTest::newRow("fuera de 1252") << "Ā" << QByteArray("\\u256?");
        QTest::newRow("espacio duro") << "&nbsp;" << QByteArray("\\~");
        QTest::newRow("llave") << "}" << QByteArray("\\}");
    }

    // Every reader shows the letter: by its number, or by the code page's byte when it has
    // no Unicode.
    void rtfCaracterSinAscii() {
        QFETCH(QString, caracter);
        QFETCH(QByteArray, rtf);
        const DocumentoInforme doc = LeerHtml("x" + caracter + "y");
        const QByteArray escrito = EscribirRtf({&doc});
        QVERIFY2(escrito.contains("x" + rtf + "y"), escrito.constData());
    }

    void rtf_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QByteArray>("cuerpo");
        QTest::newRow("alineaciones y márgenes")
            << "<p align=right>a</p><div align=justify>b<br>c</div><div>d</div>"
            << QByteArray(
                   "\\pard\\qr\\sb180\\sa180\\plain\\f0\\fs18 a\\par\n"
                   "\\pard\\qj\\sb180\\sa180\\plain\\f0\\fs18 b\\line c\\par\n"
                   "\\pard\\ql\\plain\\f0\\fs18 d\\par\n");
        QTest::newRow("tabla con encabezado, bordes, fondo y anchos")
            << "<table border=1 width=50%><thead><tr bgcolor=#e0e0e0><th width=25%>A<th>B"
               "</thead><tr><td colspan=2></table>"
            << "\\trowd\\trgaph70\\trleft0\\trhdr" + kBordes + "\\clcbpat1\\cellx1205" + kBordes +
                   "\\clcbpat1\\cellx4819\n"
                   "\\pard\\intbl\\qc\\plain\\f0\\fs18\\b A\\cell\n"
                   "\\pard\\intbl\\qc\\plain\\f0\\fs18\\b B\\cell\n\\row\n"
                   "\\trowd\\trgaph70\\trleft0" +
                   kBordes + "\\cellx4819\n\\pard\\intbl\\cell\n\\row\n\\pard\n";
        QTest::newRow("celda de varios párrafos, tabla en píxeles")
            << "<table width=100><tr><td>a<p>b</td><td align=right style='color:#ff0000'>c"
               "</table>"
            << QByteArray(
                   "\\trowd\\trgaph70\\trleft0\\cellx750\\cellx1500\n"
                   "\\pard\\intbl\\ql\\plain\\f0\\fs18 a\\par\n"
                   "\\pard\\intbl\\ql\\plain\\f0\\fs18 b\\cell\n"
                   "\\pard\\intbl\\qr\\plain\\f0\\fs18\\cf1 c\\cell\n\\row\n\\pard\n");
        QTest::newRow("título con lo que le sigue")
            << "<p style='break-after: avoid'>a</p><p>b</p>"
            << QByteArray(
                   "\\pard\\keepn\\ql\\sb180\\sa180\\plain\\f0\\fs18 a\\par\n"
                   "\\pard\\ql\\sb180\\sa180\\plain\\f0\\fs18 b\\par\n");
    }

    void rtf() {
        QFETCH(QString, html);
        QFETCH(QByteArray, cuerpo);
        const DocumentoInforme doc = LeerHtml(html);
        QCOMPARE(Cuerpo(EscribirRtf({&doc})), cuerpo);
    }

    void rtfDeVariosDocumentos() {
        const DocumentoInforme uno = LeerHtml("<p style='color: #ff0000'>uno</p>");
        const DocumentoInforme dos = LeerHtml(
            "<p style='color: red'>dos</p><table><tr><td bgcolor=#00ff00>x<td "
            "style='background-color: transparent'>y</table>");
        const QByteArray rtf = EscribirRtf({&uno, &dos});
        QVERIFY(rtf.contains("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green255\\blue0;}"));
        QVERIFY(rtf.contains("\\cf1 uno\\par\n\\page\n"));
        QVERIFY(rtf.contains("\\cf1 dos"));
        QVERIFY(rtf.contains("\\clcbpat2\\cellx4819\\cellx9638\n"));
        QCOMPARE(rtf.count("\\page"), 1);
    }

    void rtfImagenes_data() {
        QTest::addColumn<QString>("img");
        QTest::addColumn<QByteArray>("pict");  // empty: no picture
        QTest::newRow("medidas dadas") << "<img src=barras width=100 height=60>"
                                       << QByteArray("\\picw4\\pich2\\picwgoal1500\\pichgoal900");
        QTest::newRow("solo el ancho, en proporción")
            << "<img src=barras width=100>"
            << QByteArray("\\picw4\\pich2\\picwgoal1500\\pichgoal750");
        QTest::newRow("solo el alto, en proporción")
            << "<img src=barras height=10>"
            << QByteArray("\\picw4\\pich2\\picwgoal300\\pichgoal150");
        QTest::newRow("su tamaño")
            << "<img src=barras>" << QByteArray("\\picw4\\pich2\\picwgoal60\\pichgoal30");
        QTest::newRow("imagen que falta") << "<img src=otra width=100>" << QByteArray();
    }

    void rtfImagenes() {
        QFETCH(QString, img);
        QFETCH(QByteArray, pict);
        QImage barras(4, 2, QImage::Format_RGB32);
        barras.fill(Qt::black);
        const DocumentoInforme doc = LeerHtml("<p>a " + img + " b</p>", {{"barras", barras}});
        const QByteArray rtf = EscribirRtf({&doc});
        if (pict.isEmpty()) {
            QVERIFY(!rtf.contains("\\pict"));
            QVERIFY(rtf.contains("a \\plain\\f0\\fs18  b\\par"));
            return;
        }
        // A PNG starts with 89 'P' 'N' 'G'.
        QVERIFY2(rtf.contains("a {\\pict\\pngblip" + pict + "\n89504e47"), rtf.constData());
        QVERIFY(rtf.contains("}\\plain\\f0\\fs18  b\\par"));
        QCOMPARE(rtf.count('{'), rtf.count('}'));
    }
};

QTEST_MAIN(TstDocumentoInforme)
#include "tst_documentoinforme.moc"
