// Every window a clerk opens from the main window holds its texts whole with long, realistic
// values: a record loaded where the window shows one, measured with the fonts in use.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <functional>
#include <type_traits>

#include "app/Menu.h"
#include "app/SelEmpresa.h"
#include "common/Globales.h"
#include "common/Impresoras.h"
#include "declaration/frmMail.h"
#include "masterdata/Empleos.h"
#include "masterdata/frmActSueld.h"
#include "masterdata/frmCategoria.h"
#include "masterdata/frmDatosEmpresa.h"
#include "masterdata/frmEmpleados.h"
#include "masterdata/frmEmpresas.h"
#include "masterdata/frmPrestamos.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"
#include "support/BaseDePrueba.h"
#include "support/Teclear.h"
#include "support/TextosCompletos.h"
#include "utilities/About.h"
#include "utilities/ImpreArc.h"
#include "utilities/backup.h"

using namespace zul;

namespace {

const QString kCorreo = QStringLiteral("liquidaciones.sueldos.estudio@ejemplo.com.ar");
const QString kImpresora = QStringLiteral("HP_LaserJet_Pro_MFP_M428fdw_Administracion");
const QString kEquipo = QStringLiteral("PC-LIQUIDACIONES-02");
// Every number a box holds has its 32-bit maximum.
const QString kNumero = QStringLiteral("2147483647");

void DatosLargos(const prueba::BaseDePrueba& b) {
    b.ejecutar(
        "UPDATE Empresa SET Emp_Nombre='Estudio Contable Ibáñez D''Alessandro & Asociados', "
        "Emp_Domicilio='Av. Corrientes 1234, 5º \"B\"', "
        "Emp_Localidad='San Fernando del Valle de Catamarca', Emp_CUIT='30-71234567-1', "
        "Emp_Telefono='(0383) 445-5667 int. 123', emp_emaild='" +
        kCorreo + "', emp_empresanro=2147483647 WHERE emp_id=0");
    b.ejecutar(
        "INSERT INTO Empresa (Emp_Id, Emp_Nombre, Emp_Domicilio, Emp_Localidad, Emp_CUIT, "
        "Emp_Telefono, emp_fecini, emp_perjur, emp_rubro) VALUES (2147483647, "
        "'Cooperativa de Trabajo Núñez D''Alessandro & Asociados Ltda.', "
        "'Av. Corrientes 1234, 5º \"B\"', 'San Fernando del Valle de Catamarca', "
        "'30-71234567-1', '(0383) 445-5667 int. 123', #12/31/2023#, 0, 10)");
    b.ejecutar(
        "INSERT INTO Categoria (Cat_Id, Cat_Nombre) VALUES "
        "('MSGA', 'Maestranza y Servicios Generales A')");
    b.ejecutar(
        "INSERT INTO Empleo VALUES (2147483647, 'MSGA', 38, "
        "'Maestranza y Servicios Generales A', 99999999.99)");
    b.ejecutar(
        "INSERT INTO Empleado (Ado_Id, Ado_Nombre, Ado_FechaNac, Ado_Cuil, Ado_FechaIng, "
        "Ado_Sueldo, Ado_Categoria, Ado_Aporte2, Ado_Aporte25, Ado_Aporte1, Ado_AporteCS, "
        "Ado_Afiliado, Ado_FechaEgreso, Ado_Empleo, ado_IdEmpresa, ado_observ, "
        "ado_motivoegreso, ado_horas, Ado_Remunera, Ado_noRemunera) VALUES (2147483647, "
        "'Núñez D''Alessandro, María de los Ángeles Guadalupe', #12/31/1988#, "
        "'27-12345678-9', #10/05/" +
        QString::number(QDate::currentDate().year() - 38) +
        "#, 99999999.99, 'MSGA', -1, -1, -1, -1, -1, #12/31/2024#, 2147483647, 2147483647, "
        "'Licencia por maternidad del 02/01/2024 al 31/03/2024; se reintegra con jornada reducida "
        "de 6 horas.', "
        "2, 7.5, 88888888.88, 11111111.11)");
    b.ejecutar(
        "INSERT INTO Prestamo VALUES (2147483647, 2147483647, 99999999.99, 120, #12/31/2024#, "
        "#01/31/2025#, 2147483647)");
    b.ejecutar("INSERT INTO impresoras (imp_equipo, imp_otros) VALUES ('" + kEquipo + "', '" +
               kImpresora + "')");
}

// Stored texts longer than their boxes show, each as long as its box takes it.
void TextosMasLargosQueSusCajas(const prueba::BaseDePrueba& b) {
    b.ejecutar(
        "UPDATE Empresa SET Emp_Domicilio='Avenida General Enrique Mosconi 2345, Barrio Parque "
        "Los Aromos, Lote 12 - Manzana F', Emp_Nombre='Cooperativa de Trabajo y Consumo Núñez "
        "D''Alessandro, Ibáñez & Asociados Limitada'");
    b.ejecutar(
        "UPDATE Categoria SET Cat_Nombre='Maestranza, Servicios Generales y Atención al Público "
        "de 2ª Categoría'");
    b.ejecutar(
        "UPDATE Empleo SET emp_nombre='Maestranza y Servicios Generales A - Convenio Colectivo "
        "de Trabajo 130/75, Sanidad Privada'");
    b.ejecutar(
        "UPDATE Empleado SET Ado_Nombre='Núñez D''Alessandro de Ibáñez, María de los Ángeles "
        "Guadalupe Concepción'");
}

void Escribir(QLineEdit* caja, const QString& texto) {
    caja->setFocus(Qt::TabFocusReason);
    caja->selectAll();
    prueba::Teclear(caja, texto);
    QTest::keyClick(caja, Qt::Key_Tab);
    QApplication::processEvents();
}

using Claves = QList<QPair<int, QString>>;

// Opens a window from the main window's menu and, in a master-data window, types the key boxes
// in order, as the user loads a record.
template <class T>
std::function<QWidget*(Menu&)> Abrir(void (Menu::*entrada)(), const Claves& claves = {}) {
    return [entrada, claves](Menu& m) -> QWidget* {
        (m.*entrada)();
        QApplication::processEvents();
        T* w = VentanaCargada<T>();
        if constexpr (std::is_base_of_v<Mantenimiento, T>)
            for (const auto& [caja, texto] : claves)
                if (w) Escribir(w->texto(caja), texto);
        return w;
    };
}

struct Caso {
    const char* nombre;
    std::function<QWidget*(Menu&)> abrir;
};

const QList<Caso>& Casos() {
    using A = frmActSueld;
    static const QList<Caso> casos = {
        {"Categoría",
         Abrir<frmCategoria>(&Menu::mnuCategorias_Click, {{frmCategoria::kCodigo, "MSGA"}})},
        {"Empleos", Abrir<Empleos>(&Menu::mEmpleos_Click, {{Empleos::kCodigo, kNumero},
                                                           {Empleos::kCategoria, "MSGA"},
                                                           {Empleos::kAntiguedad, "38"}})},
        {"Datos del Estudio Contable", Abrir<frmDatosEmpresa>(&Menu::mnuEmpresa_Click)},
        {"Datos de Empresa",
         Abrir<frmEmpresas>(&Menu::mnuEmpresas_Click, {{frmEmpresas::kCodigo, kNumero}})},
        {"Empleados",
         Abrir<frmEmpleados>(&Menu::mnuEmpleados_Click, {{frmEmpleados::kCodigo, kNumero}})},
        {"Préstamos",
         Abrir<frmPrestamos>(&Menu::mnuPrestamos_Click, {{frmPrestamos::kNumero, kNumero}})},
        {"Actualización de Sueldos",
         Abrir<A>(&Menu::mnuActSueld_Click, {{A::kCodigo, kNumero},
                                             {A::kCategoria, "MSGA"},
                                             {A::kAntiguedad, "38"},
                                             {A::kImporte, "9999999,99"},
                                             {A::kPorcentaje, "100,25"}})},
        {"Menú",
         [](Menu& m) -> QWidget* {
             // The program where a clerk keeps it.
             CarpetaPrograma = "/home/maria.nunez/Aplicaciones/ZUL Telvaro Declaración Jurada";
             m.MDIForm_Load();
             return &m;
         }},
        {"Selección de Empresa", Abrir<SelEmpresa>(&Menu::mnuSelEmpresa_Click)},
        {"Enviar E-Mail",
         [](Menu& m) {
             QWidget* w = Abrir<frmMail>(&Menu::mEnviarMail_Click)(m);
             if (!w) return w;
             w->findChild<QComboBox*>("cboMail")->setEditText(kCorreo);
             Escribir(w->findChild<QLineEdit*>("texto_0"),
                      "Declaración jurada 12/2024 - Cooperativa de Trabajo Núñez D'Alessandro");
             Escribir(w->findChild<QLineEdit*>("texto_1"),
                      "/home/estudio/ZUL/Exportados/DDJJ_2147483647_122024.rtf");
             return w;
         }},
        {"Selección de Impresora", Abrir<ImpreArc>(&Menu::mimpresora_Click)},
        {"Copia de Seguridad", Abrir<backup>(&Menu::mcopia_Click)},
        {"Acerca de", Abrir<About>(&Menu::macerca_Click)},
    };
    return casos;
}

}  // namespace

class TstTextosVentanas : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        NombreEquipo = kEquipo;
        setListaImpresoras([] {
            return QList<ImpresoraInstalada>{{kImpresora, "cups", "usb://HP"}};
        });
        backup::ListarUnidades = [] {
            return QList<backup::Unidad>{{"/", "Sistema", true},
                                         {"/media/estudio/COPIAS_2024", "COPIAS 2024", false}};
        };
    }
    void cleanupTestCase() { setListaImpresoras({}); }
    // A failed row leaves its windows open: they must not stand in for the next row's.
    void cleanup() {
        QList<QPointer<QWidget>> abiertas;
        for (QWidget* w : QApplication::topLevelWidgets()) abiertas << w;
        for (const QPointer<QWidget>& w : abiertas) delete w.data();
    }

    // On this program's screen, and on the screens the clerks have, where every window shows
    // whole inside the main window besides. With stored texts longer than their boxes, each
    // shows from its beginning, the box the focus went on to included.
    void ventana_data() {
        QTest::addColumn<int>("caso");
        QTest::addColumn<QSize>("pantalla");  // none: this program's screen
        QTest::addColumn<bool>("masLargos");
        for (int i = 0; i < Casos().size(); ++i) {
            QTest::newRow(Casos()[i].nombre) << i << QSize() << false;
            // 1093x614: 1366x768 at 125 %.
            for (const QSize& p : {QSize(1366, 768), QSize(1280, 1024), QSize(1093, 614)})
                QTest::addRow("%s en %dx%d", Casos()[i].nombre, p.width(), p.height())
                    << i << p << false;
            QTest::addRow("%s, textos más largos que sus cajas", Casos()[i].nombre)
                << i << QSize() << true;
        }
    }

    void ventana() {
        QFETCH(int, caso);
        QFETCH(QSize, pantalla);
        QFETCH(bool, masLargos);
        if (pantalla.isValid() && !prueba::EnPantalla(pantalla)) return;
        prueba::BaseDePrueba base;
        DatosLargos(base);
        if (masLargos) TextosMasLargosQueSusCajas(base);
        Menu* m = Principal();
        QVERIFY(m);
        QWidget* w = Casos()[caso].abrir(*m);
        QVERIFY(w);
        QApplication::processEvents();
        QStringList cortados = masLargos ? prueba::PrincipiosOcultos(w)
                                         : prueba::TextosCortados(w) + prueba::GrillasAnchas(w) +
                                               prueba::FueraDeLaVentana(w);
        if (pantalla.isValid()) cortados << prueba::FueraDelArea(w);
        QVERIFY2(cortados.isEmpty(), qPrintable(cortados.join('\n')));
    }

    // However long the names, the company list widens only as far as its window still shows
    // whole in the main window on this screen; past that, the list scrolls.
    void listaMasAnchaQueLaPantalla_data() {
        QTest::addColumn<int>("veces");
        QTest::addColumn<bool>("entera");
        QTest::newRow("nombre largo") << 1 << true;
        QTest::newRow("nombre más ancho que la pantalla") << 12 << false;
    }

    void listaMasAnchaQueLaPantalla() {
        QFETCH(int, veces);
        QFETCH(bool, entera);
        prueba::BaseDePrueba base;
        QString nombre;
        for (int i = 0; i < veces; ++i)
            nombre += QStringLiteral("Cooperativa de Trabajo Núñez D''Alessandro & Asociados ");
        base.ejecutar("INSERT INTO Empresa (Emp_Id, Emp_Nombre) VALUES (7, '" + nombre + "')");
        Menu* m = Principal();
        QVERIFY(m);
        QWidget* w = Abrir<SelEmpresa>(&Menu::mnuSelEmpresa_Click)(*m);
        QVERIFY(w);
        QApplication::processEvents();
        QCOMPARE(prueba::GrillasAnchas(w).isEmpty(), entera);
        QVERIFY(prueba::FueraDeLaVentana(w).isEmpty());
        const QWidget* marco = w->parentWidget();
        QVERIFY2(
            marco->width() <= m->Area()->viewport()->width(),
            qPrintable(QString("%1 > %2").arg(marco->width()).arg(m->Area()->viewport()->width())));
    }

  private:
    static Menu* Principal() {
        auto* m = new Menu;
        if (!m->MDIForm_Load()) return nullptr;
        m->show();
        if (!QTest::qWaitForWindowExposed(m)) qWarning("ventana principal sin mostrar");
        return m;
    }
};

QTEST_MAIN(TstTextosVentanas)
#include "tst_textosventanas.moc"
