// The printer choice window over an injected list of installed printers.

#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "common/Globales.h"
#include "common/Impresoras.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"
#include "utilities/ImpreArc.h"

using namespace zul;
using namespace zul::prueba;

namespace {

const QString kEquipo = QStringLiteral("CONTADURÍA-2");
const QStringList kInstaladas = {"Laser_Oficina", "Epson TM-T20 Núñez D'Alessandro",
                                 "Brother HL-1212W"};

QStringList FilaGuardada(const BaseDePrueba& base) {
    QStringList fila;
    for (const char* c : {"imp_ticket", "imp_factua", "imp_factub", "imp_otros"})
        fila << base.valor(QStringLiteral("SELECT %1 FROM impresoras").arg(c)).toString();
    return fila;
}

}  // namespace

class TstImpreArc : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        NombreEquipo = kEquipo;
        ImpresoraTicket = ImpresoraFacturaA = ImpresoraFacturaB = ImpresoraOtros = QString();
        setListaImpresoras([] {
            QList<ImpresoraInstalada> lista;
            for (const QString& n : kInstaladas) lista.append({n, QString(), QString()});
            return lista;
        });
    }
    void cleanupTestCase() { setListaImpresoras({}); }

    void cargarElegirYGrabar_data() {
        QTest::addColumn<QString>("guardada");  // values of the stored row, or "" for none
        QTest::addColumn<QStringList>("alCargar");
        QTest::addColumn<QStringList>("elegidas");  // "" keeps the box as loaded
        QTest::addColumn<QStringList>("grabada");
        const QString pred = "Predeterminada", fiscal = "Controlador Fiscal";
        QTest::newRow("primer uso") << "" << QStringList{pred, pred, pred, pred}
                                    << QStringList{"", "", "", ""} << QStringList{"", "", "", ""};
        QTest::newRow("segunda vez actualiza")
            << "'Laser_Oficina', '', 'Brother HL-1212W', 'Laser_Oficina'"
            << QStringList{"Laser_Oficina", pred, "Brother HL-1212W", "Laser_Oficina"}
            << QStringList{"", fiscal, pred, "Brother HL-1212W"}
            << QStringList{"Laser_Oficina", fiscal, "", "Brother HL-1212W"};
        QTest::newRow("ya no instalada y con otras mayúsculas")
            << "'Vieja Matricial', NULL, 'laser_oficina', 'Controlador Fiscal'"
            << QStringList{pred, pred, pred, fiscal} << QStringList{"", "", "", ""}
            << QStringList{"", "", "", fiscal};
        QTest::newRow("apóstrofo en el nombre")
            << "" << QStringList{pred, pred, pred, pred}
            << QStringList{kInstaladas[1], "", "", kInstaladas[1]}
            << QStringList{kInstaladas[1], "", "", kInstaladas[1]};
    }

    void cargarElegirYGrabar() {
        QFETCH(QString, guardada);
        QFETCH(QStringList, alCargar);
        QFETCH(QStringList, elegidas);
        QFETCH(QStringList, grabada);
        BaseDePrueba base;
        base.ejecutar("INSERT INTO impresoras VALUES ('OTRO-EQUIPO', 'x', 'x', 'x', 'x')");
        if (!guardada.isEmpty())
            base.ejecutar("INSERT INTO impresoras VALUES ('" + kEquipo + "', " + guardada + ")");

        QPointer<ImpreArc> w = new ImpreArc;
        QCOMPARE(w->windowTitle(), QString("Selección de Impresora del Sistema"));
        QCOMPARE(w->modo(), guardada.isEmpty() ? 2 : 1);
        w->show();
        const QStringList lista = QStringList{"Predeterminada", "Controlador Fiscal"} + kInstaladas;
        for (int k = 0; k < ImpreArc::kCombos; ++k) {
            QComboBox* c = w->Combo(k);
            QCOMPARE(c->isVisible(), k == ImpreArc::kOtros);
            QStringList entradas;
            for (int i = 0; i < c->count(); ++i) entradas << c->itemText(i);
            QCOMPARE(entradas, lista);
            if (k < ImpreArc::kListados) QCOMPARE(c->currentText(), alCargar[k]);
        }
        for (int k = 0; k < ImpreArc::kListados; ++k)
            if (!elegidas[k].isEmpty())
                w->Combo(k)->setCurrentIndex(w->Combo(k)->findText(elegidas[k]));
        w->findChild<QPushButton*>("Grabar")->click();

        QVERIFY(msgbox_prueba::mostrados().isEmpty());
        QTRY_VERIFY(w.isNull());
        QCOMPARE(base.valor("SELECT count(*) FROM impresoras").toInt(), 2);
        base.ejecutar("DELETE FROM impresoras WHERE imp_equipo='OTRO-EQUIPO'");
        QCOMPARE(FilaGuardada(base), grabada);
        // The roles follow the save at once.
        QCOMPARE(
            (QStringList{ImpresoraTicket, ImpresoraFacturaA, ImpresoraFacturaB, ImpresoraOtros}),
            grabada);
    }

    void fallasYEquipoSinNombre() {
        BaseDePrueba base;
        // A save the database refuses: the description under "ERROR", the window stays.
        base.ejecutar(
            "CREATE TRIGGER sin_altas BEFORE INSERT ON impresoras "
            "BEGIN SELECT RAISE(ABORT, 'Tabla bloqueada por el administrador'); END");
        QPointer<ImpreArc> w = new ImpreArc;
        w->findChild<QPushButton*>("Grabar")->click();
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QCOMPARE(msgbox_prueba::mostrados()[0].texto,
                 QString("Tabla bloqueada por el administrador"));
        QCOMPARE(msgbox_prueba::mostrados()[0].estilo, 48);
        QCOMPARE(msgbox_prueba::mostrados()[0].titulo, QString("ERROR"));
        QVERIFY(!w.isNull());
        w->findChild<QPushButton*>("salir")->click();
        QTRY_VERIFY(w.isNull());

        // No computer name: nothing written, no message, the window closes.
        msgbox_prueba::limpiar();
        NombreEquipo.clear();
        w = new ImpreArc;
        w->findChild<QPushButton*>("Grabar")->click();
        QTRY_VERIFY(w.isNull());
        QCOMPARE(base.valor("SELECT count(*) FROM impresoras").toInt(), 0);

        // A load that cannot read the table says so and leaves every box on the default.
        NombreEquipo = kEquipo;
        base.ejecutar("DROP TABLE impresoras");
        w = new ImpreArc;
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QCOMPARE(msgbox_prueba::mostrados()[0].titulo, QString("ERROR"));
        QCOMPARE(w->Combo(ImpreArc::kOtros)->currentIndex(), 0);
        delete w;
    }
};

QTEST_MAIN(TstImpreArc)
#include "tst_imprearc.moc"
