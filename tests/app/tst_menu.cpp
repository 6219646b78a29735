#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include "app/Menu.h"
#include "app/SelEmpresa.h"
#include "common/Globales.h"
#include "declaration/frmDecJurada.h"
#include "masterdata/Empleos.h"
#include "masterdata/frmActSueld.h"
#include "masterdata/frmCategoria.h"
#include "masterdata/frmPrestamos.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"
#include "support/BaseDePrueba.h"
#include "utilities/About.h"
#include "utilities/ImpreArc.h"
#include "utilities/backup.h"

using namespace zul;

namespace {

const QString kTitulo = QStringLiteral("ZUL - Telvaro Declaración Jurada");

QString TextoPanel(const Menu& m, int n) {
    return m.findChild<QLabel*>(QStringLiteral("Panel%1").arg(n))->text();
}

// A window that would rather not close: the exit closes it all the same.
class Terca : public QWidget {
  public:
    void closeEvent(QCloseEvent* e) override { e->ignore(); }
};

// Puts a fake program on PATH for the calculator and help tests.
struct Path {
    QByteArray antes = qgetenv("PATH");
    QTemporaryDir dir;
    explicit Path(const QStringList& programas) {
        for (const QString& p : programas) {
            QFile f(dir.filePath(p));
            if (!f.open(QIODevice::WriteOnly)) qFatal("no se puede crear el programa");
            f.write("#!/bin/sh\nexit 0\n");
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", dir.path().toLocal8Bit());
    }
    ~Path() { qputenv("PATH", antes); }
};

}  // namespace

class TstMenu : public QObject {
    Q_OBJECT
  private slots:
    void titulo_data();
    void titulo();
    void arbolDelMenuYBarra();
    void guardiaDeEmpresa();
    void barraDeEstado();
    void unaVentanaPorClaseYCierrePropio();
    void salirCierraTodasLasVentanas();
    void abreLaDeclaracionYLaSeleccion();
    void calculadoraYAyuda();
    void abreLasUtilidades();
};

void TstMenu::titulo_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("empresa");
    QTest::addColumn<QString>("titulo");
    QTest::newRow("sin empresa") << "" << 0 << kTitulo;
    QTest::newRow("cero") << "UPDATE Empresa SET emp_empresanro=0 WHERE emp_id=0" << 0 << kTitulo;
    QTest::newRow("con empresa") << "UPDATE Empresa SET emp_empresanro=5 WHERE emp_id=0" << 5
                                 << kTitulo + " - Empresa: 5 - D'Angelo Hnos.";
    // The stored company was deleted: it stays current, the title shows none.
    QTest::newRow("borrada") << "UPDATE Empresa SET emp_empresanro=7 WHERE emp_id=0" << 7
                             << kTitulo;
}

void TstMenu::titulo() {
    QFETCH(QString, sql);
    QFETCH(int, empresa);
    QFETCH(QString, titulo);
    prueba::BaseDePrueba base;
    base.ejecutar("INSERT INTO Empresa (Emp_Id, Emp_Nombre) VALUES (5, 'D''Angelo Hnos.')");
    if (!sql.isEmpty()) base.ejecutar(sql);
    Menu m;
    QVERIFY(m.MDIForm_Load());
    QCOMPARE(IdEmpresa, empresa);
    QCOMPARE(m.windowTitle(), titulo);
    QVERIFY(msgbox_prueba::mostrados().isEmpty());
}

void TstMenu::arbolDelMenuYBarra() {
    prueba::BaseDePrueba base;
    Menu m;
    QStringList arriba;
    for (QAction* a : m.menuBar()->actions()) arriba << a->objectName();
    QCOMPARE(arriba, QStringList({"mnuZUL", "mutil", "mayuda", "macerca", "mnuSalir"}));
    QStringList zul;
    for (QAction* a : m.findChild<QMenu*>("mnuZUL")->actions())
        zul << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QCOMPARE(zul,
             QStringList({"mnuEmpresa", "-", "mnuEmpresas", "mnuSelEmpresa", "-", "mnuCategorias",
                          "mEmpleos", "mnuActSueld", "mActSueld", "-", "mnuEmpleados", "-",
                          "mnuPrestamos", "-", "mnuDDJJ", "mEnviarMail"}));
    for (const char* oculta : {"mActSueld", "mEnviarMail"}) {
        QAction* a = m.findChild<QAction*>(oculta);
        QVERIFY(!a->isVisible());
        QVERIFY(!a->isEnabled());
    }
    QCOMPARE(m.findChild<QAction*>("mnuActSueld")->text(),
             QStringLiteral("Actualización de Sueldos "));
    for (QAction* a : m.findChildren<QAction*>()) QVERIFY(a->shortcut().isEmpty());
    const QStringList tips = {"Declaración Jurada", "Empleados", "Préstamos", "Cambiar Empresa",
                              "Salir del Sistema"};
    for (int i = 0; i < 5; ++i) {
        auto* b = m.findChild<QToolButton*>(QStringLiteral("Image%1").arg(i + 1));
        QVERIFY(b);
        QCOMPARE(b->toolTip(), tips[i]);
        QVERIFY(!b->icon().isNull());
    }
    // Left to right: change company, employees, loans, declaration, exit.
    QStringList orden = {"Image4", "Image2", "Image3", "Image1", "Image5"};
    for (int i = 1; i < orden.size(); ++i)
        QVERIFY(m.findChild<QToolButton*>(orden[i - 1])->x() <
                m.findChild<QToolButton*>(orden[i])->x());
    QVERIFY(m.findChild<QLabel*>("ImgContable"));
}

void TstMenu::guardiaDeEmpresa() {
    prueba::BaseDePrueba base;
    Menu m;
    QVERIFY(m.MDIForm_Load());
    // Loans open without a company, one window however often asked for.
    m.findChild<QAction*>("mnuPrestamos")->trigger();
    m.findChild<QToolButton*>("Image3")->click();
    QVERIFY(VentanaCargada<frmPrestamos>());
    QCOMPARE(VentanasCargadas(), 2);
    m.findChild<QAction*>("mnuDDJJ")->trigger();
    m.findChild<QToolButton*>("Image1")->click();
    m.mnuEmpleados_Click();
    m.Image2_Click();
    const auto avisos = msgbox_prueba::mostrados();
    QCOMPARE(avisos.size(), 4);
    const QString ddjj = QStringLiteral(
        "Antes de Ingresar a la Declaración Jurada debe primero Seleccionar una Empresa");
    QCOMPARE(avisos[0].texto, ddjj);
    QCOMPARE(avisos[1].texto, ddjj);
    QCOMPARE(avisos[2].texto,
             QStringLiteral("Antes de Ingresar un Empleado debe primero Seleccionar una Empresa"));
    QCOMPARE(avisos[3].texto,
             QStringLiteral("Antes de Ingresar un Empleado debe Seleccionar una Empresa"));
    for (const auto& a : avisos) {
        QCOMPARE(a.estilo, 64);
        QCOMPARE(a.titulo, QStringLiteral("AVISO"));
    }
    msgbox_prueba::limpiar();
    IdEmpresa = 3;
    m.mnuDDJJ_Click();
    m.Image1_Click();
    m.mnuEmpleados_Click();
    m.Image2_Click();
    QVERIFY(msgbox_prueba::mostrados().isEmpty());
}

void TstMenu::barraDeEstado() {
    prueba::BaseDePrueba base;
    Menu m;
    QVERIFY(m.MDIForm_Load());
    const QString fecha = QFileInfo(QCoreApplication::applicationFilePath())
                              .lastModified()
                              .toString(QStringLiteral("dd/MM/yyyy"));
    QCOMPARE(TextoPanel(m, 1), QStringLiteral("Fecha última atualización: ") + fecha);
    QCOMPARE(TextoPanel(m, 2), base.carpeta());
    QCOMPARE(m.findChild<QLabel*>("Panel2")->toolTip(), QStringLiteral("Ruta Acceso"));
    m.TextoPanel(1, QStringLiteral("otro"));
    QCOMPARE(TextoPanel(m, 1), QStringLiteral("otro"));
}

void TstMenu::unaVentanaPorClaseYCierrePropio() {
    prueba::BaseDePrueba base;
    Menu m;
    QVERIFY(m.MDIForm_Load());
    m.show();
    QCOMPARE(VentanaPrincipal(), &m);
    QCOMPARE(VentanasCargadas(), 1);
    auto* a = new QWidget;
    a->resize(300, 200);
    auto* b = new QWidget;
    MostrarVentana(a);
    MostrarVentana(b);
    QCOMPARE(VentanasCargadas(), 3);
    QCOMPARE(m.Area()->activeSubWindow()->widget(), b);
    // The window keeps its own size inside its frame.
    QCOMPARE(a->size(), QSize(300, 200));
    // Shown again: the same window comes to the front, no second frame.
    MostrarVentana(a);
    QCOMPARE(m.Area()->subWindowList().size(), 2);
    QCOMPARE(m.Area()->activeSubWindow()->widget(), a);
    // A window that closes itself takes its frame along.
    QPointer<QMdiSubWindow> marco = m.Area()->activeSubWindow();
    a->close();
    QTRY_VERIFY(!marco);
    QCOMPARE(VentanasCargadas(), 2);
    b->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QWidget> pb(b);
    b->close();
    QTRY_VERIFY(!pb);
    QTRY_COMPARE(VentanasCargadas(), 1);
}

void TstMenu::salirCierraTodasLasVentanas() {
    prueba::BaseDePrueba base;
    auto* m = new Menu;
    QVERIFY(m->MDIForm_Load());
    m->show();
    QList<QPointer<QWidget>> ventanas;
    for (int i = 0; i < 2; ++i) {
        ventanas << new QWidget;
        MostrarVentana(ventanas.last());
    }
    ventanas << new Terca;
    MostrarVentana(ventanas.last());
    QCOMPARE(VentanasCargadas(), 4);
    m->findChild<QAction*>("mnuSalir")->trigger();
    QVERIFY(!m->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const auto& v : ventanas) QVERIFY(!v || !v->isVisible());
    QCOMPARE(VentanasCargadas(), 1);  // only the (hidden) main window object remains
    delete m;

    // The exit image closes the main window too.
    Menu otro;
    QVERIFY(otro.MDIForm_Load());
    otro.show();
    MostrarVentana(new QWidget);
    otro.findChild<QToolButton*>("Image5")->click();
    QVERIFY(!otro.isVisible());
    QVERIFY(otro.Area()->subWindowList().isEmpty());
}

// The declaration (behind the company guard), the company selection, the categories and the
// salary scale open in the frame, one window of each kind however often they are asked for.
void TstMenu::abreLaDeclaracionYLaSeleccion() {
    prueba::BaseDePrueba base;
    base.ejecutar("insert into Empresa(Emp_Id,Emp_Nombre,Emp_CUIT) values(3,'Acme SA','')");
    base.ejecutar("update empresa set emp_empresanro= 3 where emp_id=0");
    Menu m;
    QVERIFY(m.MDIForm_Load());
    m.show();
    QCOMPARE(IdEmpresa, 3);
    m.findChild<QAction*>("mnuDDJJ")->trigger();
    m.findChild<QToolButton*>("Image1")->click();
    QVERIFY(VentanaCargada<frmDecJurada>());
    QCOMPARE(VentanasCargadas(), 2);
    // The main window grew to show it, as far as the screen allows; the rest scrolls.
    const QSize marco = VentanaCargada<frmDecJurada>()->parentWidget()->size();
    const QSize pantalla = m.screen()->availableGeometry().size();
    const QSize visible = m.Area()->viewport()->size();
    QVERIFY(visible.width() >= marco.width() || m.frameGeometry().width() >= pantalla.width() - 2);
    QVERIFY(visible.height() >= marco.height() ||
            m.frameGeometry().height() >= pantalla.height() - 2);
    QCOMPARE(m.Area()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    m.findChild<QToolButton*>("Image4")->click();
    m.findChild<QAction*>("mnuSelEmpresa")->trigger();
    QVERIFY(VentanaCargada<SelEmpresa>());
    QCOMPARE(VentanasCargadas(), 3);
    QCOMPARE(m.Area()->activeSubWindow()->widget(), VentanaCargada<SelEmpresa>());
    QAction* categorias = m.findChild<QAction*>("mnuCategorias");
    QVERIFY(categorias->isEnabled());
    categorias->trigger();
    categorias->trigger();
    QVERIFY(VentanaCargada<frmCategoria>());
    QCOMPARE(VentanasCargadas(), 4);
    QCOMPARE(m.Area()->activeSubWindow()->widget(), VentanaCargada<frmCategoria>());
    QAction* empleos = m.findChild<QAction*>("mEmpleos");
    QVERIFY(empleos->isEnabled());
    empleos->trigger();
    empleos->trigger();
    QVERIFY(VentanaCargada<Empleos>());
    QCOMPARE(VentanasCargadas(), 5);
    QAction* actualizar = m.findChild<QAction*>("mnuActSueld");
    QVERIFY(actualizar->isEnabled());
    actualizar->trigger();
    actualizar->trigger();
    QVERIFY(VentanaCargada<frmActSueld>());
    QCOMPARE(VentanasCargadas(), 6);
    QVERIFY(msgbox_prueba::mostrados().isEmpty());
    m.close();
}

void TstMenu::calculadoraYAyuda() {
    prueba::BaseDePrueba base;
    Menu m;
    QVERIFY(m.MDIForm_Load());
    QStringList iniciados;
    bool arranca = true;
    Menu::IniciarPrograma = [&](const QString& p, const QStringList& args) {
        iniciados << QFileInfo(p).fileName() + QLatin1Char(' ') + args.join(QLatin1Char(' '));
        return arranca;
    };
    {
        Path path({QStringLiteral("xcalc"), QStringLiteral("galculator")});
        m.findChild<QAction*>("mcalculadora")->trigger();
        QCOMPARE(iniciados, QStringList({"galculator "}));
        arranca = false;
        m.mcalculadora_Click();
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QCOMPARE(msgbox_prueba::mostrados()[0].estilo, 48);
    }
    {
        Path path({});
        msgbox_prueba::limpiar();
        m.mcalculadora_Click();
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QVERIFY(msgbox_prueba::mostrados()[0].texto.contains("calculadora"));
    }
    iniciados.clear();
    arranca = true;
    const QString ayuda = base.carpeta() + QStringLiteral("/AyudaDJZUL.html");
    {
        Path path({QStringLiteral("xdg-open")});
        msgbox_prueba::limpiar();
        m.findChild<QAction*>("mayuda")->trigger();  // no help file yet
        QCOMPARE(iniciados.size(), 0);
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QVERIFY(msgbox_prueba::mostrados()[0].texto.contains(ayuda));
        QFile f(ayuda);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        msgbox_prueba::limpiar();
        m.mayuda_Click();
        QCOMPARE(iniciados, QStringList({"xdg-open " + ayuda}));
        QVERIFY(msgbox_prueba::mostrados().isEmpty());
    }
    {
        Path path({});
        m.mayuda_Click();
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
    }
    QVERIFY(m.isEnabled());
}

// The printer choice, the backup and the about box: enabled, one window of each kind.
void TstMenu::abreLasUtilidades() {
    prueba::BaseDePrueba base;
    Menu m;
    QVERIFY(m.MDIForm_Load());
    m.show();
    for (int vez = 0; vez < 2; ++vez) {
        for (const char* entrada : {"mimpresora", "mcopia", "macerca"}) {
            QAction* a = m.findChild<QAction*>(entrada);
            QVERIFY(a->isEnabled());
            a->trigger();
        }
    }
    QVERIFY(VentanaCargada<ImpreArc>());
    QVERIFY(VentanaCargada<backup>());
    QCOMPARE(m.Area()->activeSubWindow()->widget(), VentanaCargada<About>());
    QCOMPARE(VentanasCargadas(), 4);
    // The backup's warning, once: the second time the open window came to the front.
    QCOMPARE(msgbox_prueba::mostrados().size(), 1);
    m.close();
}

QTEST_MAIN(TstMenu)
#include "tst_menu.moc"
