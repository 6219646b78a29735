// The report control: selection formulas, files that are not reports of ours, the two shipped
// reports rendered over a saved declaration to PDF and RTF, appending exports, the pages of a
// long declaration printed and exported, and the RTF writer's output read back by a word
// processor when one is installed.

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>
#include <memory>

#include "common/Globales.h"
#include "declaration/CodigoBarras.h"
#include "declaration/InformeDDJJ.h"
#include "platform/ImpresionInforme.h"
#include "platform/ReportControl.h"
#include "support/BaseDePrueba.h"
#include "support/DDJJDePrueba.h"
#include "support/LectorI2of5.h"

using namespace zul;

namespace {

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Escribir(const QString& ruta, const QByteArray& datos) {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(datos);
}

// The document laid out on the sheet the report control prints on.
struct Impreso {
    QPrinter hoja{QPrinter::HighResolution};
    std::unique_ptr<ImpresionInforme> impresion;
    explicit Impreso(const DocumentoInforme& doc) {
        hoja.setOutputFormat(QPrinter::PdfFormat);
        PrepararHoja(hoja);
        impresion = std::make_unique<ImpresionInforme>(doc, &hoja, AreaDeTexto(hoja));
    }
    std::vector<ParrafoUbicado> parrafos() const {
        std::vector<ParrafoUbicado> todos;
        for (const PaginaInforme& p : impresion->paginas())
            todos.insert(todos.end(), p.parrafos.begin(), p.parrafos.end());
        return todos;
    }
};

// Text of a file through an external converter; "" when the tool is not installed.
QString TextoPdf(const QString& pdf) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) return {};
    QProcess p;
    p.start("pdftotext", {pdf, "-"});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The file a word processor converts an RTF file to, beside it, in `formato` ("pdf", ...);
// "" when no word processor is installed.
QString ConvertirRtf(const QString& rtf, const QString& formato, const QString& extension) {
    if (QStandardPaths::findExecutable("soffice").isEmpty()) return {};
    const QFileInfo fi(rtf);
    QTemporaryDir perfil;
    QProcess p;
    p.start("soffice", {"-env:UserInstallation=file://" + perfil.path(), "--headless",
                        "--convert-to", formato, "--outdir", fi.path(), rtf});
    p.waitForFinished(120000);
    return fi.path() + '/' + fi.completeBaseName() + '.' + extension;
}

QString TextoRtf(const QString& rtf) {
    const QString txt = ConvertirRtf(rtf, "txt:Text (encoded):UTF8", "txt");
    return txt.isEmpty() ? QString() : QString::fromUtf8(Leer(txt));
}

// The text of each page of the PDF a word processor makes of an RTF file; empty when no word
// processor or pdftotext is installed.
QStringList PaginasRtf(const QString& rtf) {
    const QString pdf = ConvertirRtf(rtf, "pdf", "pdf");
    if (pdf.isEmpty()) return {};
    // Pages are separated by form feeds.
    QStringList paginas = TextoPdf(pdf).split('\f');
    if (!paginas.isEmpty() && paginas.last().trimmed().isEmpty()) paginas.removeLast();
    return paginas;
}

// The first page of a PDF as a picture; null when poppler's pdftoppm is not installed.
QImage PaginaImpresa(const QString& pdf, int dpi) {
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty()) return {};
    QProcess p;
    p.start("pdftoppm",
            {"-r", QString::number(dpi), "-gray", "-png", "-singlefile", pdf, pdf + ".pagina"});
    p.waitForFinished(60000);
    return QImage(pdf + ".pagina.png");
}

void ContieneTodo(const QString& texto, const QStringList& partes) {
    for (const QString& parte : partes)
        QVERIFY2(texto.contains(parte), qPrintable("falta: " + parte));
}

const QStringList kTextoDeclaracion = {"Compañía Ñandú & Hijos S.A.",
                                       "30-99887766-5",
                                       "Av. Siempre Viva 742",
                                       "Córdoba",
                                       "05/2024",
                                       "10/06/2024",
                                       "4567",
                                       "350.000,50",
                                       "7.000,01",
                                       "8.750,01",
                                       "3.500,00",
                                       "19.270,52",
                                       "Pérez, José",
                                       "D'Angelo, María",
                                       "Maestranza A",
                                       "Administrativo B",
                                       "200.000,00",
                                       "150.000,50",
                                       "1.500,00",
                                       "Gómez, Ana",
                                       "15/05/2024",
                                       "90.000,00"};

// The saved declaration with the shipped reports, and a report control set to run DDJJ.rpt
// on it.
struct Declaracion {
    prueba::BaseDePrueba base;
    ReportControl rpt;
    Declaracion() {
        prueba::CopiarInformes(base.carpeta());
        prueba::GrabarDDJJDePrueba(base);
        rpt.setDataProvider(DatosDDJJ);
        rpt.setSelectionFormula(FormulaDDJJ(7, 3));
        rpt.setReportFileName(base.carpeta() + "/DDJJ.rpt");
    }
};

// A device that measures in twips, as the RTF does.
QImage EnTwips() {
    QImage twips(1, 1, QImage::Format_RGB32);
    twips.setDotsPerMeterX(qRound(1440 / 0.0254));
    twips.setDotsPerMeterY(qRound(1440 / 0.0254));
    return twips;
}

// The saved declaration's count and totals follow its lines, as a save writes them: a
// declaration that disagrees with its lines is not printed.
void TotalesSegunLineas(const prueba::BaseDePrueba& base) {
    base.ejecutar(
        "update DDJJ set DDJJ_CantEmp=(select count(*) from EmpleadoXDDJJ where ExD_IdDDJJ=7), "
        "DDJJ_TotalRemu=(select sum(ExD_Sueldo) from EmpleadoXDDJJ where ExD_IdDDJJ=7), "
        "DDJJ_Prestamo=(select sum(ExD_Prestamo) from EmpleadoXDDJJ where ExD_IdDDJJ=7) "
        "where DDJJ_Id=7");
}

// Employees and leavers enough for several pages, after those of the saved declaration.
void DeclaracionLarga(const prueba::BaseDePrueba& base, int empleados, int bajas) {
    for (int i = 0; i < empleados + bajas; ++i) {
        const int id = 100 + i;
        base.ejecutar(QString("insert into Empleado (Ado_Id, ado_IdEmpresa, Ado_Nombre, Ado_Cuil, "
                              "Ado_Categoria) values (%1, 3, 'Núñez D''Alessandro, María %1', "
                              "'27-%2-4', '1')")
                          .arg(id)
                          .arg(id, 8, 10, QChar('0')));
        base.ejecutar(i < empleados
                          ? QString("insert into EmpleadoXDDJJ values (7, %1, 1234567.89, 1, 1, "
                                    "1, 1, 1, 1, 25000, 3)")
                                .arg(id)
                          : QString("insert into Bajas values (7, %1, '2024-05-31', 987654.32, 1, "
                                    "3)")
                                .arg(id));
    }
    TotalesSegunLineas(base);
}

// The RTF's text for the column heading `palabra` and the width of its cell, in twips.
struct CeldaRtf {
    int ancho = 0;
    QString error;
};
CeldaRtf AnchoDeCelda(const QByteArray& rtf, const QByteArray& titulo) {
    const qsizetype donde = rtf.indexOf("\\b " + titulo + "\\cell\n");
    if (donde < 0) return {0, "no está"};
    const qsizetype fila = rtf.lastIndexOf("\\trowd", donde);
    const qsizetype celdas = rtf.indexOf('\n', fila);
    static const QRegularExpression cellx(R"(\\cellx(\d+))");
    QList<int> bordes{0};
    for (auto m = cellx.globalMatch(QString::fromLatin1(rtf.mid(fila, celdas - fila)));
         m.hasNext();)
        bordes << m.next().captured(1).toInt();
    const qsizetype antes = rtf.mid(celdas, donde - celdas).count("\\cell\n");
    if (antes + 1 >= bordes.size()) return {0, "sin columna"};
    return {bordes[antes + 1] - bordes[antes], {}};
}

}  // namespace

class TstReportControl : public QObject {
    Q_OBJECT

  private slots:
    void formulaConBlancos();
    void archivosQueNoSonInformes();
    void declaracionImpresaYExportada();
    void cuponConBarrasComoImagen();
    void exportacionAgregadaOReemplazada();
    void cadaEjecucionConSuDestino();
    void impresoSinPartirYConNombre_data();
    void impresoSinPartirYConNombre();
    void cadaHojaDiceDeQuien_data();
    void cadaHojaDiceDeQuien();
    void rtfTitulosDeColumnaEnteros_data();
    void rtfTitulosDeColumnaEnteros();
    void tituloDeBajasConLoQueSigue_data();
    void tituloDeBajasConLoQueSigue();
};

void TstReportControl::formulaConBlancos() {
    for (const QString& f : {QString("{DDJJ.DDJJ_Id}=7 and  {DDJJ.ddjj_IdEmpresa}= 3"),
                             QString("  { DDJJ . DDJJ_Id } = 7AND{DDJJ.ddjj_IdEmpresa}=3 "),
                             QString("{DDJJ.DDJJ_Id}='7' And {ddjj.DDJJ_IDEMPRESA}= \"3\"")}) {
        const Seleccion s = LeerFormula(f);
        QCOMPARE(s.condiciones.size(), 2);
        QCOMPARE(s.valor("ddjj.ddjj_id"), std::optional<QString>("7"));
        QCOMPARE(s.valor("DDJJ.ddjj_IdEmpresa"), std::optional<QString>("3"));
    }
    QVERIFY(LeerFormula("").condiciones.isEmpty());
    for (const char* mala : {"{DDJJ.DDJJ_Id}=7 or {DDJJ.ddjj_IdEmpresa}=3", "{DDJJ.DDJJ_Id}=",
                             "DDJJ_Id=7", "{DDJJ.DDJJ_Id}=7 and", "{DDJJ.DDJJ_Id}=7 x"}) {
        try {
            LeerFormula(mala);
            QFAIL(mala);
        } catch (const ReportError& e) {
            QCOMPARE(e.numero(), 20515);
            QVERIFY(e.mensaje().contains("fórmula de selección"));
        }
    }
}

void TstReportControl::archivosQueNoSonInformes() {
    prueba::BaseDePrueba base;
    const QString carpeta = base.carpeta();
    Escribir(carpeta + "/crystal.rpt", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    Escribir(carpeta + "/roto.rpt", QByteArray(kMarcaInforme) + "\n<p>{{#abierta}}</p>");
    Escribir(carpeta + "/bueno.rpt", QByteArray(kMarcaInforme) + "\n<p>{{a}}</p>");

    ReportControl rpt;
    rpt.setDataProvider([](const Seleccion&) { return DatosInforme{{{"a", "hola"}}, {}}; });
    rpt.setPdfOutput(carpeta + "/salida.pdf");
    const struct {
        QString archivo;
        int numero;
        QString texto;
    } casos[] = {{carpeta + "/falta.rpt", 53, "No se encontró el archivo de informe"},
                 {carpeta + "/crystal.rpt", 20500, "no es un informe de este programa"},
                 {carpeta + "/roto.rpt", 20500, "tiene un error"},
                 {carpeta + "/carpeta.rpt", 53, "La ruta es una carpeta, no un archivo."},
                 // Exported into a folder that is not there: the system's words in Spanish.
                 {carpeta + "/bueno.rpt", 75, "El archivo o la carpeta no existe."}};
    QVERIFY(QDir(carpeta).mkdir("carpeta.rpt"));
    for (const auto& c : casos) {
        rpt.setReportFileName(c.archivo);
        if (c.numero == 75) {
            rpt.setDestination(ReportControl::aArchivo);
            rpt.setPrintFileType(ReportControl::formatoRtf);
            rpt.setPrintFileName(carpeta + "/no-existe/dj.rtf");
        }
        try {
            rpt.setAction(1);
            QFAIL(qPrintable(c.archivo));
        } catch (const ReportError& e) {
            QCOMPARE(e.numero(), c.numero);
            QVERIFY2(e.mensaje().contains(c.texto), qPrintable(e.mensaje()));
        }
    }
    rpt.setDestination(ReportControl::aImpresora);
    QVERIFY(rpt.runs().isEmpty());
    QVERIFY(!QFile::exists(carpeta + "/salida.pdf"));

    // Without a provider, or with a bad formula, nothing runs either.
    rpt.setReportFileName(carpeta + "/bueno.rpt");
    rpt.setSelectionFormula("{DDJJ.DDJJ_Id}=");
    QVERIFY_THROWS_EXCEPTION(ReportError, rpt.setAction(1));
    rpt.setSelectionFormula("");
    ReportControl sinDatos;
    sinDatos.setReportFileName(carpeta + "/bueno.rpt");
    QVERIFY_THROWS_EXCEPTION(ReportError, sinDatos.setAction(1));
    // Any action but 1 does nothing.
    rpt.setAction(0);
    QVERIFY(rpt.runs().isEmpty());
    rpt.setAction(1);
    QCOMPARE(rpt.lastDocument()->texto().trimmed(), QString("hola"));
}

void TstReportControl::declaracionImpresaYExportada() {
    prueba::BaseDePrueba base;
    prueba::CopiarInformes(base.carpeta());
    prueba::GrabarDDJJDePrueba(base);

    ReportControl rpt;
    rpt.setDataProvider(DatosDDJJ);
    rpt.setSelectionFormula("{DDJJ.DDJJ_Id}=7 and  {DDJJ.ddjj_IdEmpresa}= 3");
    rpt.setReportFileName(base.carpeta() + "/DDJJ.rpt");
    rpt.setPdfOutput(base.carpeta() + "/ddjj.pdf");
    rpt.setAction(1);
    ContieneTodo(rpt.lastDocument()->texto(), kTextoDeclaracion);
    QCOMPARE(rpt.runs().last().paginas, 1);
    // One-word column headings fit their column as printed, never broken inside the word.
    const Impreso impreso(*rpt.lastDocument());
    for (const ParrafoUbicado& u : impreso.parrafos())
        if (!u.parrafo->texto().contains(' ') && u.lineas > 1)
            QFAIL(qPrintable("partido: " + u.parrafo->texto()));
    QVERIFY(Leer(base.carpeta() + "/ddjj.pdf").startsWith("%PDF"));
    if (const QString pdf = TextoPdf(base.carpeta() + "/ddjj.pdf"); !pdf.isEmpty())
        ContieneTodo(pdf,
                     {"Compañía Ñandú & Hijos S.A.", "Pérez, José", "Gómez, Ana", "19.270,52"});

    rpt.setDestination(ReportControl::aArchivo);
    rpt.setPrintFileType(ReportControl::formatoRtf);
    rpt.setPrintFileName(base.carpeta() + "/ddjj.rtf");
    rpt.setAction(1);
    const QByteArray rtf = Leer(base.carpeta() + "/ddjj.rtf");
    QVERIFY(rtf.startsWith("{\\rtf1"));
    QVERIFY(rtf.contains("Compa\\u241\\'f1\\u237\\'eda \\u209\\'d1and\\u250\\'fa & Hijos S.A."));
    QVERIFY(rtf.contains("\\trhdr"));  // table headers repeat on every page
    QVERIFY(rtf.count("\\row") >= 2 + 1 + 4);
    const QString texto = TextoRtf(base.carpeta() + "/ddjj.rtf");
    if (texto.isEmpty()) QSKIP("sin procesador de textos para leer el RTF");
    ContieneTodo(texto, kTextoDeclaracion);
}

void TstReportControl::cuponConBarrasComoImagen() {
    prueba::BaseDePrueba base;
    prueba::CopiarInformes(base.carpeta());
    const QString codbar = prueba::GrabarDDJJDePrueba(base);

    ReportControl rpt;
    rpt.setDataProvider(DatosDDJJ);
    rpt.setSelectionFormula("{DDJJ.DDJJ_Id}=7 and  {DDJJ.ddjj_IdEmpresa}= 3");
    rpt.setReportFileName(base.carpeta() + "/Cupon.rpt");
    rpt.setPdfOutput(base.carpeta() + "/cupon.pdf");
    rpt.setAction(1);
    const DocumentoInforme* doc = rpt.lastDocument();
    ContieneTodo(doc->texto(), {"Compañía Ñandú & Hijos S.A.", "30-99887766-5", "05/2024",
                                "10/06/2024", "19.270,52", codbar});
    // The bars are a picture in the document, the very bars the bar-code drawing makes.
    bool hayImagen = false;
    for (const Bloque& b : doc->bloques)
        for (const Tramo& t : b.p.tramos)
            if (!t.imagen.isEmpty()) {
                QCOMPARE(t.imagen, QString("barras"));
                QCOMPARE(doc->imagenes.value("barras"), ImagenI2of5(codbar, 4, 180));
                QVERIFY(t.ancho >= 300);  // about 10 cm on paper
                hayImagen = true;
            }
    QVERIFY(hayImagen);
    QVERIFY(Leer(base.carpeta() + "/cupon.pdf").startsWith("%PDF"));
    if (const QString pdf = TextoPdf(base.carpeta() + "/cupon.pdf"); !pdf.isEmpty())
        ContieneTodo(pdf, {codbar, "CUPÓN DE PAGO"});
    // The printed page, as a 300 dpi scanner sees it, reads back as the stored digits.
    const QImage hoja = PaginaImpresa(base.carpeta() + "/cupon.pdf", 300);
    if (!hoja.isNull()) {
        const prueba::Lectura l = prueba::BuscarI2of5(hoja);
        QVERIFY2(l.error.isEmpty(), qPrintable(l.error));
        QCOMPARE(l.digitos, codbar);
    }

    rpt.setDestination(ReportControl::aArchivo);
    rpt.setPrintFileName(base.carpeta() + "/cupon.rtf");
    rpt.setAction(1);
    QVERIFY(Leer(base.carpeta() + "/cupon.rtf").contains("\\pngblip"));

    // A declaration without a bar code says so instead of drawing empty bars.
    base.ejecutar("update DDJJ set DDJJ_CODBAR = NULL");
    rpt.setAction(1);
    QVERIFY(rpt.lastDocument()->texto().contains("no tiene código de pago"));
}

void TstReportControl::exportacionAgregadaOReemplazada() {
    prueba::BaseDePrueba base;
    Escribir(base.carpeta() + "/a.rpt", QByteArray(kMarcaInforme) + "\n<p>primero</p>");
    Escribir(base.carpeta() + "/b.rpt", QByteArray(kMarcaInforme) + "\n<p>segundo</p>");
    ReportControl rpt;
    rpt.setDataProvider([](const Seleccion&) { return DatosInforme{}; });
    rpt.setDestination(ReportControl::aArchivo);
    rpt.setPrintFileName(base.carpeta() + "/x.rtf");
    rpt.setReportFileName(base.carpeta() + "/a.rpt");
    rpt.setAction(1);
    rpt.setExportAppend(true);
    rpt.setReportFileName(base.carpeta() + "/b.rpt");
    rpt.setAction(1);
    QByteArray rtf = Leer(base.carpeta() + "/x.rtf");
    QVERIFY(rtf.indexOf("primero") < rtf.indexOf("\\page") &&
            rtf.indexOf("\\page") < rtf.indexOf("segundo"));
    rpt.setExportAppend(false);
    rpt.setAction(1);
    rtf = Leer(base.carpeta() + "/x.rtf");
    QVERIFY(!rtf.contains("primero") && rtf.contains("segundo"));

    // A file that cannot be written fails the run, and another format is refused.
    rpt.setPrintFileName(base.carpeta() + "/no/existe/x.rtf");
    try {
        rpt.setAction(1);
        QFAIL("exportó a una carpeta inexistente");
    } catch (const ReportError& e) {
        QCOMPARE(e.numero(), 75);
    }
    rpt.setPrintFileType(14);
    QVERIFY_THROWS_EXCEPTION(ReportError, rpt.setAction(1));
}

void TstReportControl::cadaEjecucionConSuDestino() {
    prueba::BaseDePrueba base;
    Escribir(base.carpeta() + "/a.rpt", QByteArray(kMarcaInforme) + "\n<p>hoja</p>");
    ReportControl rpt;
    rpt.setDataProvider([](const Seleccion&) { return DatosInforme{}; });
    rpt.setReportFileName(base.carpeta() + "/a.rpt");
    rpt.setPdfOutput(base.carpeta() + "/p.pdf");
    rpt.setPrinterName("Otros");
    rpt.setAction(1);
    rpt.setDestination(ReportControl::aArchivo);
    rpt.setPrintFileName(base.carpeta() + "/a.rtf");
    rpt.setAction(1);
    rpt.setDestination(ReportControl::aImpresora);
    rpt.setAction(1);
    QCOMPARE(rpt.runs().size(), 3);
    QCOMPARE(rpt.runs()[0].salida, base.carpeta() + "/p.pdf");
    QCOMPARE(rpt.runs()[0].impresora, QString("Otros"));
    QCOMPARE(rpt.runs()[1].salida, base.carpeta() + "/a.rtf");
    QCOMPARE(rpt.runs()[2].salida, base.carpeta() + "/p-2.pdf");  // the first stays
    QVERIFY(QFile::exists(base.carpeta() + "/p.pdf") && QFile::exists(base.carpeta() + "/p-2.pdf"));

    // The window's control is one per window and keeps its settings.
    QWidget ventana;
    ReportControl* uno = ReportControl::de(&ventana);
    uno->setPrintFileName("x");
    QCOMPARE(ReportControl::de(&ventana), uno);
    QCOMPARE(uno->objectName(), QString("rpt1"));
    QCOMPARE(ReportControl::de(&ventana)->printFileName(), QString("x"));
}

void TstReportControl::impresoSinPartirYConNombre_data() {
    QTest::addColumn<QString>("informe");
    QTest::addColumn<QString>("documento");
    QTest::newRow("declaración") << "DDJJ.rpt"
                                 << "Declaración Jurada Compañía Ñandú & Hijos S.A. 05/2024";
    QTest::newRow("cupón") << "Cupon.rpt"
                           << "Cupón de pago Compañía Ñandú & Hijos S.A. 05/2024";
}

// Amounts, codes, CUILs and dates print on one line in the font the setup installs, and the
// print queue names each job.
void TstReportControl::impresoSinPartirYConNombre() {
    QFETCH(QString, informe);
    QFETCH(QString, documento);
    prueba::BaseDePrueba base;
    prueba::CopiarInformes(base.carpeta());
    prueba::GrabarDDJJDePrueba(base);
    base.ejecutar("update EmpleadoXDDJJ set ExD_Sueldo = 1108224.12 where ExD_IdEmpleado = 1");
    base.ejecutar("update DDJJ set DDJJ_Total = 99999999.99 where DDJJ_Id = 7");
    base.ejecutar(
        "update EmpleadoXDDJJ set ExD_Sueldo = 99999999.99, ExD_Prestamo = 99999999.99 "
        "where ExD_IdEmpleado = 2");
    base.ejecutar("update Bajas set Baj_Sueldo = 99999999.99");
    TotalesSegunLineas(base);
    base.ejecutar(
        "update Empleado set Ado_Nombre = 'Núñez D''Alessandro, María de los Ángeles "
        "Guadalupe' where Ado_Id = 1");

    ReportControl rpt;
    rpt.setDataProvider(DatosDDJJ);
    rpt.setSelectionFormula(FormulaDDJJ(7, 3));
    rpt.setReportFileName(base.carpeta() + '/' + informe);
    rpt.setPdfOutput(base.carpeta() + "/salida.pdf");
    rpt.setAction(1);
    QCOMPARE(rpt.runs().last().documento, documento);

    const DocumentoInforme* doc = rpt.lastDocument();
    static const QRegularExpression dato(R"(^[$ ]*[-\d.,/]+$)");
    int datos = 0;
    const Impreso impreso(*doc);
    for (const ParrafoUbicado& u : impreso.parrafos()) {
        const QString texto = u.parrafo->texto();
        QVERIFY2(texto.contains(' ') || u.lineas == 1, qPrintable("partido: " + texto));
        if (!dato.match(texto).hasMatch()) continue;
        ++datos;
        QVERIFY2(u.lineas == 1 && u.ancho <= u.caja.width(), qPrintable("no cabe: " + texto));
        const QFont f = impreso.impresion->fuente(u.parrafo->tramos.front().estilo);
        QVERIFY2(QFontInfo(f).family().startsWith("Liberation "),
                 qPrintable(f.family() + " es " + QFontInfo(f).family() +
                            ": falta la fuente Liberation (setup.sh)"));
    }
    QVERIFY(datos > 3);
    QVERIFY(doc->texto().contains(informe == "DDJJ.rpt" ? "1.108.224,12" : "99.999.999,99"));

    // The exported copy keeps the template's column widths (17 cm of text, 70 twips of gap
    // each side): what must not break fits them too.
    QImage enTwips = EnTwips();
    ImpresionInforme medidas(*doc, &enTwips, QRectF(0, 0, 9638, 13000));
    for (const Bloque& b : doc->bloques) {
        const std::vector<double> anchos = b.t.anchos(9638 * b.t.anchoPorciento / 100, 15);
        for (const Fila& f : b.t.filas) {
            size_t col = 0;
            for (const Celda& c : f.celdas) {
                for (const Parrafo& p : c.parrafos) {
                    if (!p.sinCorte || c.columnas != 1) continue;
                    const QFontMetricsF fm(medidas.fuente(p.tramos.front().estilo), &enTwips);
                    QVERIFY2(fm.horizontalAdvance(p.texto()) + 140 <= anchos[col],
                             qPrintable("no cabe en el RTF: " + p.texto()));
                }
                col += c.columnas;
            }
        }
    }
}

void TstReportControl::cadaHojaDiceDeQuien_data() {
    QTest::addColumn<bool>("exportada");
    QTest::addColumn<QStringList>("enCadaHoja");
    QTest::newRow("impresa") << false
                             << QStringList{"Compañía Ñandú & Hijos S.A.", "30-99887766-5",
                                            "05/2024", "Código"};
    // The RTF as written: the page header, and the table's header row on the page.
    QTest::newRow("exportada")
        << true
        << QStringList{"Compa\\u241\\'f1\\u237\\'eda \\u209\\'d1and\\u250\\'fa & Hijos S.A.",
                       "30-99887766-5", "05/2024", "\\trhdr", "C\\u243\\'f3digo"};
}

// Every page of a long declaration says whose it is (company, CUIT, period) and opens its table
// with the column headings, printed or exported; the exported file breaks its pages where the
// printout does, and a word processor shows them so.
void TstReportControl::cadaHojaDiceDeQuien() {
    QFETCH(bool, exportada);
    QFETCH(QStringList, enCadaHoja);
    Declaracion d;
    prueba::BaseDePrueba& base = d.base;
    ReportControl& rpt = d.rpt;
    DeclaracionLarga(base, 150, 60);
    rpt.setPdfOutput(base.carpeta() + "/ddjj.pdf");
    rpt.setAction(1);
    const int paginas = rpt.runs().last().paginas;
    QVERIFY(paginas >= 4);

    QStringList hojas;
    const QString rtf = base.carpeta() + "/ddjj.rtf";
    if (exportada) {
        rpt.setDestination(ReportControl::aArchivo);
        rpt.setPrintFileName(rtf);
        rpt.setAction(1);
        hojas = QString::fromLatin1(Leer(rtf)).split("\\pagebb");
    } else {
        const Impreso impreso(*rpt.lastDocument());
        for (const PaginaInforme& p : impreso.impresion->paginas()) {
            QString texto;
            for (const ParrafoUbicado& u : p.parrafos) texto += u.parrafo->texto() + '\n';
            hojas << texto;
        }
    }
    QCOMPARE(hojas.size(), paginas);
    for (int i = 0; i < hojas.size(); ++i)
        for (const QString& texto : enCadaHoja)
            QVERIFY2(hojas[i].contains(texto),
                     qPrintable(QString("página %1 sin %2").arg(i + 1).arg(texto)));

    if (!exportada) return;
    const QStringList vistas = PaginasRtf(rtf);
    if (vistas.isEmpty()) QSKIP("sin procesador de textos para ver el RTF");
    QCOMPARE(vistas.size(), paginas);
    for (int i = 0; i < vistas.size(); ++i)
        for (const char* texto : {"Compañía Ñandú & Hijos S.A.", "30-99887766-5", "Código"})
            QVERIFY2(vistas[i].contains(texto),
                     qPrintable(QString("página %1 sin %2").arg(i + 1).arg(texto)));
    // Headings on one line, not broken inside the word.
    ContieneTodo(vistas.join('\n'), {"Afil.", "C.S.", "Préstamo"});
}

void TstReportControl::rtfTitulosDeColumnaEnteros_data() {
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QByteArray>("enRtf");
    QTest::newRow("Código") << "Código" << QByteArray("C\\u243\\'f3digo");
    QTest::newRow("Afil.") << "Afil." << QByteArray("Afil.");
    QTest::newRow("C.S.") << "C.S." << QByteArray("C.S.");
}

// A column heading of the exported declaration fits its cell whole, as on the printed page:
// the cell is the word's width in its font plus the cell's gaps (70 twips) and rules (10).
void TstReportControl::rtfTitulosDeColumnaEnteros() {
    QFETCH(QString, titulo);
    QFETCH(QByteArray, enRtf);
    Declaracion d;
    d.rpt.setDestination(ReportControl::aArchivo);
    d.rpt.setPrintFileName(d.base.carpeta() + "/ddjj.rtf");
    d.rpt.setAction(1);

    const CeldaRtf celda = AnchoDeCelda(Leer(d.base.carpeta() + "/ddjj.rtf"), enRtf);
    QVERIFY2(celda.error.isEmpty(), qPrintable(celda.error));
    const DocumentoInforme& doc = *d.rpt.lastDocument();
    QImage enTwips = EnTwips();
    ImpresionInforme medidas(doc, &enTwips, QRectF(0, 0, 9638, 13000));
    double palabra = 0;
    for (const Bloque& b : doc.bloques)
        for (const Fila& f : b.t.filas)
            for (const Celda& c : f.celdas)
                for (const Parrafo& p : c.parrafos)
                    if (p.texto() == titulo)
                        palabra = QFontMetricsF(medidas.fuente(p.tramos.front().estilo), &enTwips)
                                      .horizontalAdvance(titulo);
    QVERIFY(palabra > 0);
    QVERIFY2(celda.ancho - 2 * 70 - 2 * 10 >= palabra,
             qPrintable(QString("%1 twips para %2").arg(celda.ancho).arg(palabra)));
}

void TstReportControl::tituloDeBajasConLoQueSigue_data() {
    QTest::addColumn<bool>("hayBajas");
    QTest::addColumn<QString>("primero");
    QTest::newRow("con bajas") << true << "Gómez, Ana";
    QTest::newRow("sin bajas") << false << "Sin bajas en el período.";
}

// However many employees come before, the leavers' heading prints on the page of what follows
// it.
void TstReportControl::tituloDeBajasConLoQueSigue() {
    QFETCH(bool, hayBajas);
    QFETCH(QString, primero);
    const QVariantMap baja{{"codigo", "3"}, {"nombre", "Gómez, Ana"}, {"sueldo", "90.000,00"}};
    for (int empleados = 30; empleados < 110; ++empleados) {
        QVariantList lista;
        for (int i = 0; i < empleados; ++i)
            lista << QVariantMap{{"codigo", QString::number(i)}, {"nombre", "Pérez, José"}};
        DatosInforme datos;
        datos.datos = {{"hayEmpleados", true},
                       {"empleados", lista},
                       {"hayBajas", hayBajas},
                       {"bajas", QVariantList{baja}}};
        const auto doc =
            RenderizarInforme(QStringLiteral(ZUL_SOURCE_DIR) + "/reports/DDJJ.rpt", datos);
        const Impreso impreso(*doc);
        int titulo = -1, siguiente = -1;
        const auto& paginas = impreso.impresion->paginas();
        for (int p = 0; p < static_cast<int>(paginas.size()); ++p)
            for (const ParrafoUbicado& u : paginas[static_cast<size_t>(p)].parrafos) {
                if (u.parrafo->texto() == "Bajas del personal") titulo = p;
                if (u.parrafo->texto() == primero && siguiente < 0) siguiente = p;
            }
        QVERIFY(titulo >= 0);
        QVERIFY2(titulo == siguiente,
                 qPrintable(QString("con %1 empleados, solo al pie de la página %2")
                                .arg(empleados)
                                .arg(titulo + 1)));
    }
}

QTEST_MAIN(TstReportControl)
#include "tst_reportcontrol.moc"
