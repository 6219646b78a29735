// Printing and mailing a saved declaration: which report files run, on which printer, the
// refusals and messages, the RTF file mailed through a stand-in sendmail, and the pointer.

#include <QLineEdit>
#include <QtTest>

#include "common/Globales.h"
#include "common/Impresoras.h"
#include "declaration/InformeDDJJ.h"
#include "platform/MsgBox.h"
#include "platform/ReportControl.h"
#include "support/BaseDePrueba.h"
#include "support/DDJJDePrueba.h"
#include "support/SendmailDePrueba.h"

using namespace zul;

namespace {

const QString kFormula = "{DDJJ.DDJJ_Id}=7 and  {DDJJ.ddjj_IdEmpresa}= 3";
const QString kEmpresa = "Compañía Ñandú / Hijos";

QStringList Mensajes() {
    QStringList t;
    for (const auto& m : msgbox_prueba::mostrados()) t << m.texto;
    return t;
}

// A declaration window stand-in: the flows only need a widget to own the report control.
struct Ventana {
    QWidget widget;
    QLineEdit destino;
    ReportControl* rpt;
    explicit Ventana(const QString& carpeta) : rpt(ReportControl::de(&widget)) {
        rpt->setPdfOutput(carpeta + "/impreso.pdf");
    }
    bool relojPuesto() const { return widget.cursor().shape() == Qt::WaitCursor; }
};

// The cells of the printed table row that holds `nombre`.
QStringList FilaDe(const DocumentoInforme& doc, const QString& nombre) {
    for (const Bloque& b : doc.bloques)
        for (const Fila& f : b.t.filas) {
            QStringList celdas;
            for (const Celda& c : f.celdas) {
                QStringList ps;
                for (const Parrafo& p : c.parrafos) ps << p.texto();
                celdas << ps.join(' ');
            }
            if (celdas.contains(nombre)) return celdas;
        }
    return {};
}

}  // namespace

class TstInformeDDJJ : public QObject {
    Q_OBJECT

    std::unique_ptr<prueba::BaseDePrueba> base_;
    QString codbar_;

  private slots:
    void init() {
        base_ = std::make_unique<prueba::BaseDePrueba>();
        prueba::CopiarInformes(base_->carpeta());
        codbar_ = prueba::GrabarDDJJDePrueba(*base_);
        IdEmpresa = 3;
        ImpresoraOtros = QString();
        setListaImpresoras([] { return QList<ImpresoraInstalada>{{"Oficina", "cups", "usb"}}; });
    }
    void cleanup() {
        setListaImpresoras({});
        base_.reset();
        IdEmpresa = 0;
    }

    void sinFilaDelEstudioImprimeDDJJUnaVez();
    void imprimeLosDosInformesEnLaImpresoraOtros();
    void informeQueFaltaDetieneLaImpresion();
    void declaracionSinGrabarNoSeImprimeNiEnvia();
    void mensajesDelCorreoSinDestino();
    void enviaAmbosInformesEnUnArchivo();
    void correoQueFallaNoSigue();
    void imprimirDespuesDeEnviarImprime();
    void categoriaQueNoEsNumero_data();
    void categoriaQueNoEsNumero();
};

void TstInformeDDJJ::sinFilaDelEstudioImprimeDDJJUnaVez() {
    base_->ejecutar("delete from Empresa where emp_id=0");
    Ventana v(base_->carpeta());
    QVERIFY(ImprimirDDJJ(7, &v.widget));
    QCOMPARE(v.rpt->runs().size(), 1);
    QCOMPARE(v.rpt->runs()[0].informe, base_->carpeta() + "/DDJJ.rpt");
    QCOMPARE(v.rpt->runs()[0].formula, kFormula);
    QCOMPARE(v.rpt->windowState(), 2);
    QVERIFY(QFileInfo(base_->carpeta() + "/impreso.pdf").size() > 0);
    QVERIFY(v.rpt->lastDocument()->texto().contains("Pérez, José"));
    QVERIFY(msgbox_prueba::mostrados().isEmpty());
    QVERIFY(!v.relojPuesto());
}

void TstInformeDDJJ::imprimeLosDosInformesEnLaImpresoraOtros() {
    // The seed names DDJJ.rpt and Cupon.rpt; an empty first name also means DDJJ.rpt.
    base_->ejecutar("update Empresa set emp_rptDJ1 = NULL where emp_id=0");
    ImpresoraOtros = "Oficina";
    Ventana v(base_->carpeta());
    QVERIFY(ImprimirDDJJ(7, &v.widget));
    QCOMPARE(v.rpt->runs().size(), 2);
    QCOMPARE(v.rpt->runs()[0].informe, base_->carpeta() + "/DDJJ.rpt");
    QCOMPARE(v.rpt->runs()[1].informe, base_->carpeta() + "/Cupon.rpt");
    for (const auto& r : v.rpt->runs()) {
        QCOMPARE(r.impresora, QString("Oficina"));
        QCOMPARE(r.destino, int(ReportControl::aImpresora));
    }
    QVERIFY(v.rpt->lastDocument()->texto().contains(codbar_));
    QVERIFY(QFileInfo(base_->carpeta() + "/impreso-2.pdf").size() > 0);
    QVERIFY(msgbox_prueba::mostrados().isEmpty());
}

void TstInformeDDJJ::informeQueFaltaDetieneLaImpresion() {
    base_->ejecutar("update Empresa set emp_rptDJ1 = 'Perdido.rpt' where emp_id=0");
    Ventana v(base_->carpeta());
    QVERIFY(!ImprimirDDJJ(7, &v.widget));
    QVERIFY(v.rpt->runs().isEmpty());  // the coupon did not run after the failure either
    QCOMPARE(Mensajes().size(), 1);
    QVERIFY(Mensajes()[0].startsWith("Error Nro.: 53 "));
    QVERIFY(Mensajes()[0].contains("Perdido.rpt"));
    QVERIFY(!v.relojPuesto());

    // A declaration that no longer exists is said so, not printed empty.
    base_->ejecutar("update Empresa set emp_rptDJ1 = 'DDJJ.rpt' where emp_id=0");
    msgbox_prueba::limpiar();
    QVERIFY(!ImprimirDDJJ(8, &v.widget));
    QVERIFY(Mensajes().value(0).startsWith("Error Nro.: 20525 "));
    QVERIFY(!v.relojPuesto());
}

void TstInformeDDJJ::declaracionSinGrabarNoSeImprimeNiEnvia() {
    prueba::SendmailDePrueba sendmail;
    base_->ejecutar("update Empresa set emp_emaild = 'estudio@ejemplo.com.ar' where emp_id=0");
    Ventana v(base_->carpeta());
    QVERIFY(!ImprimirDDJJ(0, &v.widget));
    QVERIFY(!EnviarDDJJ(0, kEmpresa, "05/2024", &v.destino, &v.widget));
    QVERIFY(v.rpt->runs().isEmpty());
    QCOMPARE(sendmail.mensajes(), 0);
    QCOMPARE(Mensajes(), QStringList({"Grabe la declaración jurada antes de imprimirla.",
                                      "Grabe la declaración jurada antes de enviarla."}));
    QVERIFY(v.destino.text().isEmpty());
    QVERIFY(!v.relojPuesto());
}

void TstInformeDDJJ::mensajesDelCorreoSinDestino() {
    prueba::SendmailDePrueba sendmail;
    Ventana v(base_->carpeta());
    // The seed's address is empty; a Null one counts the same.
    base_->ejecutar("update Empresa set emp_emaild = NULL where emp_id=0");
    QVERIFY(!EnviarDDJJ(7, kEmpresa, "05/2024", &v.destino, &v.widget));
    QVERIFY(!v.relojPuesto());
    base_->ejecutar("delete from Empresa where emp_id=0");
    QVERIFY(!EnviarDDJJ(7, kEmpresa, "05/2024", &v.destino, &v.widget));
    QCOMPARE(Mensajes(), QStringList({"Ingrese el e_mail destino en los datos del Estudio",
                                      "Ingrese el e-mail destino en los datos del Estudio"}));
    QCOMPARE(msgbox_prueba::mostrados()[0].estilo, 0);
    QVERIFY(v.rpt->runs().isEmpty());
    QVERIFY(!QFile::exists(ArchivoExportDDJJ(kEmpresa, "05/2024")));
    QCOMPARE(sendmail.mensajes(), 0);
    QVERIFY(!v.relojPuesto());
}

void TstInformeDDJJ::enviaAmbosInformesEnUnArchivo() {
    prueba::SendmailDePrueba sendmail;
    base_->ejecutar("update Empresa set emp_emaild = 'estudio@ejemplo.com.ar' where emp_id=0");
    Ventana v(base_->carpeta());
    QVERIFY(EnviarDDJJ(7, kEmpresa, "05/2024", &v.destino, &v.widget));
    QVERIFY(msgbox_prueba::mostrados().isEmpty());
    QVERIFY(!v.relojPuesto());
    QCOMPARE(v.destino.text(), QString("estudio@ejemplo.com.ar"));

    // The "/" of the name becomes "_" in the file name only.
    const QString archivo = base_->carpeta() + "/DJ_Compañía Ñandú _ Hijos_05-2024.rtf";
    QCOMPARE(ArchivoExportDDJJ(kEmpresa, "05/2024"), archivo);
    QCOMPARE(v.rpt->runs().size(), 2);
    for (const auto& r : v.rpt->runs()) QCOMPARE(r.salida, archivo);
    QFile f(archivo);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray rtf = f.readAll();
    // Declaration first, then the coupon with its bars, in the one file.
    const qsizetype declaracion = rtf.indexOf("P\\u233\\'e9rez, Jos\\u233\\'e9");
    const qsizetype cupon = rtf.indexOf("CUP\\u211\\'d3N DE PAGO");
    QVERIFY(declaracion > 0 && cupon > declaracion);
    QVERIFY(rtf.indexOf("\\pngblip") > cupon);

    QCOMPARE(sendmail.mensajes(), 1);
    QCOMPARE(sendmail.argumentos(0), QByteArray("-t -i"));
    const prueba::MensajeLeido m = prueba::LeerMensaje(sendmail.mensaje(0));
    QVERIFY(m.valido);
    QCOMPARE(m.destinatarios, QStringList{"estudio@ejemplo.com.ar"});
    QCOMPARE(m.asunto, QString("DJ_Compañía Ñandú / Hijos_05/2024"));
    QCOMPARE(m.adjuntos.size(), 1);
    QCOMPARE(m.adjuntos[0].nombre, QString("DJ_Compañía Ñandú _ Hijos_05-2024.rtf"));
    QCOMPARE(m.adjuntos[0].datos, rtf);
    QVERIFY(QFile::exists(archivo));  // the export stays in the program folder
}

void TstInformeDDJJ::correoQueFallaNoSigue() {
    base_->ejecutar("update Empresa set emp_emaild = 'estudio@ejemplo.com.ar' where emp_id=0");
    {
        // The export fails: nothing is attached or sent, one message.
        prueba::SendmailDePrueba sendmail;
        base_->ejecutar("update Empresa set emp_rptDJ2 = 'Perdido.rpt' where emp_id=0");
        Ventana v(base_->carpeta());
        QVERIFY(!EnviarDDJJ(7, kEmpresa, "05/2024", &v.destino, &v.widget));
        QCOMPARE(sendmail.mensajes(), 0);
        QCOMPARE(Mensajes().size(), 1);
        QVERIFY(Mensajes()[0].startsWith("Error Nro.: 53 "));
        QVERIFY(!v.relojPuesto());
    }
    {
        // The mail transport refuses: one message carrying its reason.
        msgbox_prueba::limpiar();
        base_->ejecutar("update Empresa set emp_rptDJ2 = NULL where emp_id=0");
        prueba::SendmailDePrueba sendmail(75);
        Ventana v(base_->carpeta());
        QVERIFY(!EnviarDDJJ(7, kEmpresa, "05/2024", &v.destino, &v.widget));
        QCOMPARE(Mensajes().size(), 1);
        QVERIFY(Mensajes()[0].startsWith("Error Nro.: 440 "));
        QVERIFY(Mensajes()[0].contains("cola de correo llena"));
        QVERIFY(!v.relojPuesto());
    }
}

void TstInformeDDJJ::imprimirDespuesDeEnviarImprime() {
    prueba::SendmailDePrueba sendmail;
    base_->ejecutar(
        "update Empresa set emp_emaild = 'estudio@ejemplo.com.ar', emp_rptDJ2 = NULL "
        "where emp_id=0");
    Ventana v(base_->carpeta());
    QVERIFY(EnviarDDJJ(7, kEmpresa, "05/2024", &v.destino, &v.widget));
    QVERIFY(ImprimirDDJJ(7, &v.widget));
    QCOMPARE(v.rpt->runs().size(), 2);
    QCOMPARE(v.rpt->runs()[1].destino, int(ReportControl::aImpresora));
    QCOMPARE(v.rpt->runs()[1].salida, base_->carpeta() + "/impreso.pdf");
    QVERIFY(QFileInfo(base_->carpeta() + "/impreso.pdf").size() > 0);
    QCOMPARE(sendmail.mensajes(), 1);
}

void TstInformeDDJJ::categoriaQueNoEsNumero_data() {
    QTest::addColumn<int>("empleado");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("guardada");  // the statement that stores its category as 0
    QTest::newRow("empleado") << 1 << "Pérez, José"
                              << "update EmpleadoXDDJJ set ExD_IdCatego=0 where ExD_IdEmpleado=1";
    QTest::newRow("baja") << 3 << "Gómez, Ana"
                          << "update Bajas set Baj_IdCatego=0 where Baj_Empleado=3";
}

// A category code that is not a number is stored as 0: the printout shows the employee's
// category, as the declaration window does; numeric ones keep the category stored.
void TstInformeDDJJ::categoriaQueNoEsNumero() {
    QFETCH(int, empleado);
    QFETCH(QString, nombre);
    QFETCH(QString, guardada);
    base_->ejecutar(
        "insert into Categoria (Cat_Id, Cat_Nombre) values ('LRG9', 'Logística Región 9 "
        "''Sur''')");
    base_->ejecutar("update Empleado set Ado_Categoria='LRG9' where Ado_Id=" +
                    QString::number(empleado));
    base_->ejecutar(guardada);
    base_->ejecutar("update Empresa set emp_rptDJ2 = NULL where emp_id=0");
    Ventana v(base_->carpeta());
    QVERIFY(ImprimirDDJJ(7, &v.widget));
    const DocumentoInforme& doc = *v.rpt->lastDocument();
    QVERIFY2(FilaDe(doc, nombre).contains("Logística Región 9 'Sur'"),
             qPrintable(FilaDe(doc, nombre).join(" | ")));
    QVERIFY(FilaDe(doc, "D'Angelo, María").contains("Administrativo B"));
}

QTEST_MAIN(TstInformeDDJJ)
#include "tst_informeddjj.moc"
