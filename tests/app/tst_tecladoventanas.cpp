// The keyboard and the mouse on the windows a clerk opens from the main window: each opens
// ready to type, Enter presses the command button that has the focus, F2 looks up with Shift or
// Ctrl held, a click or End in a date or period box leaves the caret where the next digit goes,
// and a locked key reads plainly.

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "app/Menu.h"
#include "common/Globales.h"
#include "common/Impresoras.h"
#include "lookup/consulta.h"
#include "masterdata/frmEmpleados.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"
#include "support/BaseDePrueba.h"
#include "support/Teclear.h"
#include "utilities/backup.h"

using namespace zul;

namespace {

const QString kImpresora = QStringLiteral("HP_LaserJet_Pro_MFP_M428fdw_Administracion");

// The firm with its current company, which has one category.
void Datos(const prueba::BaseDePrueba& b) {
    b.ejecutar(
        "UPDATE Empresa SET Emp_Nombre='Estudio Contable Ibáñez D''Alessandro & "
        "Asociados', emp_empresanro=2147483647 WHERE emp_id=0");
    b.ejecutar(
        "INSERT INTO Empresa (Emp_Id, Emp_Nombre) VALUES (2147483647, "
        "'Cooperativa de Trabajo Núñez D''Alessandro & Asociados Ltda.')");
    b.ejecutar("INSERT INTO Categoria VALUES ('MSGA', 'Maestranza y Servicios Generales A')");
}

QWidget* Foco() {
    return QApplication::focusWidget();
}

}  // namespace

class TstTecladoVentanas : public QObject {
    Q_OBJECT

    prueba::BaseDePrueba* base_ = nullptr;
    QPointer<Menu> menu_;

    // Opens the window of a menu entry; the window itself, not its frame.
    QWidget* Abrir(const char* entrada) {
        const QList<QWidget*> antes = VentanasAbiertas();
        menu_->findChild<QAction*>(QString::fromLatin1(entrada))->trigger();
        QApplication::processEvents();
        for (QWidget* w : VentanasAbiertas())
            if (!antes.contains(w)) return w;
        return nullptr;
    }
    // Box `caja` of the window of a menu entry.
    QLineEdit* CajaDe(const char* entrada, int caja) {
        QWidget* w = Abrir(entrada);
        return w ? w->findChild<QLineEdit*>(QStringLiteral("texto_%1").arg(caja)) : nullptr;
    }
    // The employee window with a new number given out, the focus on the name.
    QPointer<frmEmpleados> NuevoEmpleado() {
        QPointer<frmEmpleados> w = qobject_cast<frmEmpleados*>(Abrir("mnuEmpleados"));
        if (!w) return w;
        QTest::keyClick(w->texto(frmEmpleados::kCodigo), Qt::Key_Return);
        if (!QTest::qWaitFor([&] { return Foco() == w->texto(frmEmpleados::kNombre); }, 1000))
            return nullptr;
        return w;
    }

  private slots:
    void initTestCase() {
        NombreEquipo = QStringLiteral("PC-LIQUIDACIONES-02");
        setListaImpresoras([] { return QList<ImpresoraInstalada>{{kImpresora, "cups", "usb"}}; });
        backup::ListarUnidades = [] { return QList<backup::Unidad>{{"/", "Sistema", true}}; };
    }
    void cleanupTestCase() { setListaImpresoras({}); }
    void init() {
        base_ = new prueba::BaseDePrueba;
        Datos(*base_);
        menu_ = new Menu;
        QVERIFY(menu_->MDIForm_Load());
        menu_->show();
        QApplication::setActiveWindow(menu_);
        QVERIFY(QTest::qWaitForWindowActive(menu_));
    }
    void cleanup() {
        consulta::alMostrar = nullptr;
        delete menu_.data();
        delete base_;
    }

    // What the clerk types first lands in the window's first control, over what it shows.
    void abreListaParaEscribir_data() {
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("tecleado");  // "↓" = the Down arrow
        QTest::addColumn<QString>("queda");
        QTest::newRow("Datos Estudio Contable") << "mnuEmpresa"
                                                << "texto_0"
                                                << "Estudio Núñez D'Alessandro & Asociados"
                                                << "Estudio Núñez D'Alessandro & Asociados";
        QTest::newRow("Selección de Impresora") << "mimpresora"
                                                << "Combo_3"
                                                << "↓"
                                                << "Controlador Fiscal";
        QTest::newRow("Declaración Jurada") << "mnuDDJJ"
                                            << "mskPeriodo"
                                            << "112025"
                                            << "11/2025";
    }
    void abreListaParaEscribir() {
        QFETCH(QString, entrada);
        QFETCH(QString, control);
        QFETCH(QString, tecleado);
        QFETCH(QString, queda);
        QWidget* w = Abrir(qPrintable(entrada));
        QVERIFY(w);
        QVERIFY(Foco());
        QCOMPARE(Foco()->objectName(), control);
        if (tecleado == "↓")
            QTest::keyClick(Foco(), Qt::Key_Down);
        else
            prueba::Teclear(Foco(), tecleado);
        if (auto* caja = qobject_cast<QLineEdit*>(Foco())) QCOMPARE(caja->text(), queda);
        if (auto* lista = qobject_cast<QComboBox*>(Foco())) QCOMPARE(lista->currentText(), queda);
    }

    // Tab to the window's exit button and Enter: the window closes, as with Space or a click.
    void enterEnElBoton_data() {
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QString>("boton");
        QTest::newRow("Datos Estudio Contable") << "mnuEmpresa"
                                                << "btnSalir";
        QTest::newRow("Datos de Empresa") << "mnuEmpresas"
                                          << "btnSalir";
        QTest::newRow("Selección de Empresa") << "mnuSelEmpresa"
                                              << "bSalir";
        QTest::newRow("Categorías de Empleo") << "mnuCategorias"
                                              << "btnSalir";
        QTest::newRow("Empleos") << "mEmpleos"
                                 << "btnSalir";
        QTest::newRow("Actualización de Sueldos") << "mnuActSueld"
                                                  << "salir";
        QTest::newRow("Datos de Empleados") << "mnuEmpleados"
                                            << "btnSalir";
        QTest::newRow("Préstamos") << "mnuPrestamos"
                                   << "btnSalir";
        QTest::newRow("Declaración Jurada") << "mnuDDJJ"
                                            << "btnSalir";
        QTest::newRow("Seleccionar Impresora") << "mimpresora"
                                               << "salir";
        QTest::newRow("Generar Copia de Seguridad") << "mcopia"
                                                    << "salir";
    }
    void enterEnElBoton() {
        QFETCH(QString, entrada);
        QFETCH(QString, boton);
        QPointer<QWidget> w = Abrir(qPrintable(entrada));
        QVERIFY(w);
        auto* b = w->findChild<QPushButton*>(boton);
        QVERIFY(b);
        b->setFocus(Qt::TabFocusReason);
        QTest::keyClick(b, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!w, 1000);
    }

    // Enter, of either key, presses the about box's close picture, which has the focus; Esc
    // closes the box too.
    void teclasDelAcercaDe_data() {
        QTest::addColumn<int>("tecla");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Enter del teclado numérico") << int(Qt::Key_Enter);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void teclasDelAcercaDe() {
        QFETCH(int, tecla);
        QPointer<QWidget> w = Abrir("macerca");
        QVERIFY(w);
        QCOMPARE(Foco(), w->findChild<QWidget*>("Image2"));
        const bool numerico = tecla == Qt::Key_Enter;
        QTest::keyClick(Foco(), Qt::Key(tecla), numerico ? Qt::KeypadModifier : Qt::NoModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!w, 1000);
    }

    // The firm's data typed and Grabar reached with Tab from the last box: Enter saves.
    void enterEnGrabarGraba() {
        QWidget* w = Abrir("mnuEmpresa");
        QVERIFY(w);
        auto* correo = w->findChild<QLineEdit*>("texto_7");
        correo->setFocus(Qt::TabFocusReason);
        prueba::Teclear(correo, "liquidaciones.sueldos@ibanez.com.ar");
        QTest::keyClick(correo, Qt::Key_Tab);
        QTRY_COMPARE(Foco(), w->findChild<QPushButton*>("btnGrabar"));
        QTest::keyClick(Foco(), Qt::Key_Return);
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QCOMPARE(msgbox_prueba::mostrados()[0].texto, "Los datos se grabaron correctamente");
        QCOMPARE(base_->valor("SELECT emp_emaild FROM Empresa WHERE emp_id=0").toString(),
                 "liquidaciones.sueldos@ibanez.com.ar");
    }

    // F2 with Shift, Ctrl or both offers the box's lookup as F2 alone does.
    void f2ConModificadores_data() {
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<int>("caja");
        QTest::addColumn<int>("modificadores");
        QTest::addColumn<QString>("titulo");
        QTest::newRow("Shift, clave de categorías")
            << "mnuCategorias" << 0 << int(Qt::ShiftModifier) << "Consulta de Categorías";
        QTest::newRow("Ctrl, categoría del empleado")
            << "mnuEmpleados" << int(frmEmpleados::kCategoria) << int(Qt::ControlModifier)
            << "Consulta de Categorías";
        QTest::newRow("Ctrl+Shift, clave de empleos")
            << "mEmpleos" << 0 << int(Qt::ControlModifier | Qt::ShiftModifier)
            << "Consulta de Empleos";
    }
    void f2ConModificadores() {
        QFETCH(QString, entrada);
        QFETCH(int, caja);
        QFETCH(int, modificadores);
        QFETCH(QString, titulo);
        QLineEdit* c = CajaDe(qPrintable(entrada), caja);
        QVERIFY(c);
        QStringList vistas;
        consulta::alMostrar = [&vistas](consulta& d) {
            vistas << d.windowTitle();
            d.salir_Click();
        };
        QTest::keyClick(c, Qt::Key_F2, Qt::KeyboardModifiers(modificadores));
        QCOMPARE(vistas, QStringList{titulo});
    }

    // Digits typed after a click into a date or period box, or after End, land in it: a full box
    // entered with a click is typed over whole; the caret never stands where no digit goes.
    // In `teclas`, "↖" is a click at the box's right edge, "⇥" Tab, "⇲" End.
    void digitosEnCajaFija_data() {
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<QString>("caja");
        QTest::addColumn<QString>("teclas");
        QTest::addColumn<QString>("queda");
        const auto fila = [](const char* nombre, const char* entrada, const QString& caja,
                             const char* teclas, const char* queda) {
            QTest::newRow(nombre) << QString(entrada) << caja << QString(teclas) << QString(queda);
        };
        const QString egreso = QStringLiteral("texto_%1").arg(int(frmEmpleados::kFechaEgreso));
        const QString nacimiento = QStringLiteral("texto_%1").arg(int(frmEmpleados::kFechaNac));
        fila("empleado, nacimiento vacío", "mnuEmpleados", nacimiento, "↖31121988", "31/12/1988");
        fila("empleado, egreso con el día", "mnuEmpleados", egreso, "31↖122024", "31/12/2024");
        fila("empresa, inicio vacío", "mnuEmpresas", "texto_5", "↖01032024", "01/03/2024");
        fila("préstamo, fecha vacía", "mnuPrestamos", "texto_4", "↖15072025", "15/07/2025");
        fila("declaración, período", "mnuDDJJ", "mskPeriodo", "⇥↖112026", "11/2026");
        fila("declaración, período al abrir", "mnuDDJJ", "mskPeriodo", "↖112026", "11/2026");
        fila("declaración, vencimiento tras Tab", "mnuDDJJ", "texto_14", "⇥↖15012027",
             "15/01/2027");
        fila("declaración, vencimiento propuesto", "mnuDDJJ", "texto_14", "↖15012027",
             "15/01/2027");
        fila("declaración, período a medias", "mnuDDJJ", "mskPeriodo", "0520⇲24", "05/2024");
        fila("empleado, nacimiento a medias", "mnuEmpleados", nacimiento, "1503⇲1980",
             "15/03/1980");
        fila("préstamo, fecha llena", "mnuPrestamos", "texto_4", "15072025⇥↖01082025",
             "01/08/2025");
        fila("empresa, inicio lleno", "mnuEmpresas", "texto_5", "01032024⇲5", "01/03/2025");
    }
    void digitosEnCajaFija() {
        QFETCH(QString, entrada);
        QFETCH(QString, caja);
        QFETCH(QString, teclas);
        QFETCH(QString, queda);
        QWidget* w = Abrir(qPrintable(entrada));
        QVERIFY(w);
        auto* c = w->findChild<QLineEdit*>(caja);
        QVERIFY(c);
        // A new record first: Enter in the key box the window opens on.
        if (entrada != "mnuDDJJ") {
            QWidget* clave = Foco();
            QTest::keyClick(clave, Qt::Key_Return);
            QTRY_VERIFY_WITH_TIMEOUT(Foco() != clave, 1000);
        }
        for (const QString& parte : teclas.split(QRegularExpression("(?=[↖⇥⇲])|(?<=[↖⇥⇲])"))) {
            if (parte == "↖") {
                QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(c->width() - 4, c->height() / 2));
            } else if (parte == "⇥") {
                QTest::keyClick(Foco(), Qt::Key_Tab);
            } else if (parte == "⇲") {
                QTest::keyClick(c, Qt::Key_End);
            } else if (!parte.isEmpty()) {
                if (Foco() != c) c->setFocus(Qt::TabFocusReason);
                prueba::Teclear(c, parte);
            }
        }
        QCOMPARE(Foco(), c);
        QCOMPARE(c->displayText(), queda);
    }

    // Enter after the leaving date goes to the leaving reason that the date opens.
    void enterTrasElEgreso_data() {
        QTest::addColumn<QString>("fecha");
        QTest::newRow("completa") << "31122024";
        QTest::newRow("año de dos cifras") << "311224";
        QTest::newRow("solo el día") << "15";
    }
    void enterTrasElEgreso() {
        QFETCH(QString, fecha);
        QPointer<frmEmpleados> w = NuevoEmpleado();
        QVERIFY(w);
        QLineEdit* egreso = w->texto(frmEmpleados::kFechaEgreso);
        egreso->setFocus(Qt::TabFocusReason);
        prueba::Teclear(egreso, fecha);
        QTest::keyClick(egreso, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(Foco(), static_cast<QWidget*>(w->CmbEgreso()), 1000);
        QTest::keyClick(w->CmbEgreso(), Qt::Key_Down);
        QCOMPARE(w->CmbEgreso()->currentText(), "DESPIDO");
    }

    // The number given to a new employee shows in the window's text colour, with no caret
    // blinking in the locked box.
    void claveBloqueadaLegible() {
        QPointer<frmEmpleados> w = NuevoEmpleado();
        QVERIFY(w);
        QLineEdit* clave = w->texto(frmEmpleados::kCodigo);
        QCOMPARE(clave->text(), "1");
        QVERIFY(!clave->isEnabled());
        QList<QImage> vistas;
        const int pasos = 5;
        for (int i = 0; i < pasos; ++i) {
            vistas << clave->grab().toImage();
            QTest::qWait(QApplication::cursorFlashTime() / 4);
        }
        // The digits, inside the box's frame.
        const QRect dentro = clave->rect().adjusted(4, 4, -4, -4);
        int masOscuro = 255;
        for (int y = dentro.top(); y <= dentro.bottom(); ++y)
            for (int x = dentro.left(); x <= dentro.right(); ++x)
                masOscuro = std::min(masOscuro, qGray(vistas[0].pixel(x, y)));
        const int texto = qGray(w->palette().color(QPalette::Active, QPalette::Text).rgb());
        QVERIFY2(masOscuro <= texto + 64, qPrintable(QString::number(masOscuro)));
        for (int i = 1; i < pasos; ++i) QCOMPARE(vistas[i], vistas[0]);
    }
};

QTEST_MAIN(TstTecladoVentanas)
#include "tst_tecladoventanas.moc"
