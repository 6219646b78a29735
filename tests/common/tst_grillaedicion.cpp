#include <QTest>

#include "common/GrillaEdicion.h"
#include "platform/Grid.h"

using zul::Grid;

class TstGrillaEdicion : public QObject {
    Q_OBJECT

    // Code, name, leaving date; `filas` data rows carrying their number as code.
    static void armar(Grid& g, int filas) {
        g.setFormatString("Código|Nombre|Fecha Egreso");
        g.setColKey(0, "Codigo");
        g.setColKey(1, "Nombre");
        g.setColKey(2, "FechaEgreso");
        for (int i = 1; i <= filas; ++i) g.AddItem(QString::number(i));
    }
    static QStringList codigos(const Grid& g) {
        QStringList c;
        for (int r = 1; r < g.Rows(); ++r) c << g.TextMatrix(r, 0);
        return c;
    }

  private slots:
    void siguienteFilaEnLaUltimaAgregaYEnMediasSoloBaja() {
        Grid g;
        armar(g, 2);
        int ultima = 2, primera = 0;
        g.setRow(2);
        g.setCol(2);
        zul::SiguienteFila(g, ultima, primera);
        QCOMPARE(g.Rows(), 4);
        QCOMPARE(g.Row(), 3);
        QCOMPARE(g.Col(), 0);
        QCOMPARE(codigos(g), QStringList({"1", "2", ""}));

        g.setRow(1);
        g.setCol(2);
        zul::SiguienteFila(g, ultima, primera);
        QCOMPARE(g.Rows(), 4);
        QCOMPARE(g.Row(), 2);

        // Not in the last editable column: nothing moves.
        g.setCol(1);
        zul::SiguienteFila(g, ultima, primera);
        QCOMPARE(g.Row(), 2);
        QCOMPARE(g.Col(), 1);
    }

    void siguienteFilaReescribeLosMenosUnoYRespetaElSubtotal() {
        Grid g;
        armar(g, 2);
        g.AddItem("T");
        g.setSubtotal(3, true);
        int ultima = -1, primera = -1;
        g.setRow(2);
        g.setCol(2);
        zul::SiguienteFila(g, ultima, primera);
        QCOMPARE(ultima, 2);
        QCOMPARE(primera, 0);
        // The new row goes above the subtotal row, which stays last.
        QCOMPARE(codigos(g), QStringList({"1", "2", "", "T"}));
        QVERIFY(g.IsSubtotal(4));
        QCOMPARE(g.Row(), 3);
    }

    void enterEsDerechaEInsertAgregaFilas() {
        Grid g;
        armar(g, 2);
        int k = 13;
        QCOMPARE(zul::TeclaGrilla(g, k, "codigo"), 39);
        QCOMPARE(k, 39);

        g.setRow(2);
        k = 45;
        QCOMPARE(zul::TeclaGrilla(g, k, "codigo"), 45);
        QCOMPARE(codigos(g), QStringList({"1", "", "2"}));

        Grid vacia;
        armar(vacia, 0);
        k = 45;
        zul::TeclaGrilla(vacia, k, "codigo");
        QCOMPARE(vacia.Rows(), 2);
        k = 65;
        QCOMPARE(zul::TeclaGrilla(vacia, k, "codigo"), 65);
    }

    void suprimirSegunColumnaYFilaClave() {
        Grid g;
        armar(g, 3);
        g.AddItem();  // the empty row where a new code is typed

        // Only in column 0.
        g.setRow(1);
        g.setCol(1);
        int k = 46;
        QCOMPARE(zul::TeclaGrilla(g, k, "codigo"), 46);
        QCOMPARE(g.Rows(), 5);

        // A middle row goes.
        g.setCol(0);
        g.setRow(2);
        QCOMPARE(zul::TeclaGrilla(g, k, "codigo"), 0);
        QCOMPARE(codigos(g), QStringList({"1", "3", ""}));

        // The empty last row stays and the key reaches the grid.
        g.setRow(3);
        g.setCol(0);
        k = 46;
        QCOMPARE(zul::TeclaGrilla(g, k, "codigo"), 46);
        QCOMPARE(g.Rows(), 4);

        // A filled last row goes, without a new empty row.
        g.setTextMatrix(3, 0, "9");
        QCOMPARE(zul::TeclaGrilla(g, k, "codigo"), 0);
        QCOMPARE(codigos(g), QStringList({"1", "3"}));
    }

    void suprimirSinColumnaClaveDejaSiempreUnaFila() {
        Grid g;
        armar(g, 2);
        g.setRow(2);
        g.setCol(0);
        int k = 46;
        QCOMPARE(zul::TeclaGrilla(g, k, ""), 0);
        QCOMPARE(codigos(g), QStringList({"1"}));
        // The only data row stays.
        k = 46;
        g.setRow(1);
        g.setCol(0);
        QCOMPARE(zul::TeclaGrilla(g, k, ""), 46);
        QCOMPARE(g.Rows(), 2);

        // With a subtotal row, removing the last data row puts an empty one back above it.
        Grid s;
        armar(s, 2);
        s.AddItem("T");
        s.setSubtotal(3, true);
        s.setRow(2);
        s.setCol(0);
        k = 46;
        zul::TeclaGrilla(s, k, "");
        s.setRow(1);
        s.setCol(0);
        k = 46;
        // The subtotal row counts among the rows: the last data row goes, an empty one comes.
        QCOMPARE(zul::TeclaGrilla(s, k, ""), 0);
        QCOMPARE(codigos(s), QStringList({"", "T"}));
        // On the subtotal row nothing happens.
        s.setRow(2);
        k = 46;
        QCOMPARE(zul::TeclaGrilla(s, k, ""), 46);
        QCOMPARE(s.Rows(), 3);
    }
};

QTEST_MAIN(TstGrillaEdicion)
#include "tst_grillaedicion.moc"
