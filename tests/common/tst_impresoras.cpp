#include <QTest>

#include "common/Globales.h"
#include "common/Impresoras.h"
#include "platform/ReportControl.h"
#include "support/BaseDePrueba.h"

using namespace zul;

class TstImpresoras : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        ImpresoraTicket = ImpresoraFacturaA = ImpresoraFacturaB = ImpresoraOtros = QString();
        setListaImpresoras([] {
            return QList<ImpresoraInstalada>{{"Laser", "HP LaserJet", "lp0"},
                                             {"Tickets", "Epson TM", "usb1"},
                                             {"laser", "otro", "lp9"}};
        });
    }
    void cleanupTestCase() { setListaImpresoras({}); }

    void leerLaFilaDeEsteEquipo() {
        prueba::BaseDePrueba base;
        NombreEquipo = "CAJA-1";
        base.ejecutar("INSERT INTO impresoras VALUES ('OTRA', 'x', 'x', 'x', 'x')");
        base.ejecutar("INSERT INTO impresoras VALUES ('CAJA-1', 'Tickets', NULL, 'B', '')");
        LeerImpresoras();
        QCOMPARE(ImpresoraTicket, QString("Tickets"));
        QCOMPARE(ImpresoraFacturaA, QString());
        QCOMPARE(ImpresoraFacturaB, QString("B"));
        QCOMPARE(ImpresoraOtros, QString());

        // No row for this computer, or no database at all: the roles stay.
        NombreEquipo = "D'Angelo";
        LeerImpresoras();
        QCOMPARE(ImpresoraTicket, QString("Tickets"));
        RutaBase = base.carpeta() + "/no-existe.mdb";
        LeerImpresoras();
        QCOMPARE(ImpresoraFacturaB, QString("B"));
    }

    void seleccionarPorNombreExacto() {
        ReportControl rpt;
        ImpresoraOtros = "Laser";
        SeleccionarImpresora(rpt, 3);
        QCOMPARE(rpt.printerDriver(), QString("HP LaserJet"));
        QCOMPARE(rpt.printerName(), QString("Laser"));
        QCOMPARE(rpt.printerPort(), QString("lp0"));
        QCOMPARE(ImpresoraActual(), QString("Laser"));

        ImpresoraOtros = "laser";  // names compare with case
        SeleccionarImpresora(rpt, 3);
        QCOMPARE(rpt.printerDriver(), QString("otro"));
        QCOMPARE(ImpresoraActual(), QString("laser"));

        ImpresoraTicket = "Tickets";
        SeleccionarImpresora(rpt, 0);
        QCOMPARE(rpt.printerName(), QString("Tickets"));
    }

    // A printer no longer installed, the default ("") or an unknown role: the report goes
    // back to the default printer instead of keeping an earlier choice.
    void sinCoincidenciaVuelveALaPredeterminada() {
        ReportControl rpt;
        ImpresoraOtros = "Laser";
        SeleccionarImpresora(rpt, 3);
        QCOMPARE(rpt.printerName(), QString("Laser"));

        ImpresoraOtros = "Desinstalada";
        SeleccionarImpresora(rpt, 3);
        QCOMPARE(rpt.printerName(), QString());
        QCOMPARE(rpt.printerDriver(), QString());
        QCOMPARE(rpt.printerPort(), QString());
        QCOMPARE(ImpresoraActual(), QString());

        ImpresoraOtros = "Laser";
        SeleccionarImpresora(rpt, 3);
        ImpresoraOtros = "";
        SeleccionarImpresora(rpt, 3);
        QCOMPARE(rpt.printerName(), QString());

        SeleccionarImpresora(rpt, 0);
        ImpresoraTicket = "Tickets";
        SeleccionarImpresora(rpt, 9);
        QCOMPARE(rpt.printerName(), QString());
    }
};

QTEST_MAIN(TstImpresoras)
#include "tst_impresoras.moc"
