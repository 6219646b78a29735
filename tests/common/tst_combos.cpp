#include <QComboBox>
#include <QTest>

#include "common/Combos.h"
#include "support/BaseDePrueba.h"

using namespace zul;

class TstCombos : public QObject {
    Q_OBJECT

  private slots:
    void rubrosComoLosLlenaLaVentanaDeEmpresas() {
        prueba::BaseDePrueba base;
        QComboBox combo;
        QString filtro;
        LlenarCombo(&combo, "rubros  order by descripcion  ", "codigo", "descripcion", filtro,
                    "codigo");
        QCOMPARE(combo.count(), 12);
        QCOMPARE(combo.currentIndex(), 0);
        QCOMPARE(combo.itemText(0), QString("1 - Agricultura y ganadería"));
        QCOMPARE(combo.itemData(0).toInt(), 1);
        QCOMPARE(combo.itemData(0).typeId(), QMetaType::Int);
        QCOMPARE(combo.itemText(1), QString("2 - Comercio mayorista"));

        // A second call appends a second set.
        LlenarCombo(&combo, "rubros", "codigo", "descripcion");
        QCOMPARE(combo.count(), 24);
        QCOMPARE(combo.itemText(12), QString("Agricultura y ganadería"));
    }

    void filtroYFilasSinTexto() {
        prueba::BaseDePrueba base;
        base.ejecutar("INSERT INTO rubros (codigo, descripcion) VALUES (20, NULL)");
        QComboBox combo;
        QString filtro = "codigo >= 11";
        LlenarCombo(&combo, "rubros", "codigo", "descripcion", filtro, "codigo");
        QCOMPARE(filtro, QString(" where codigo >= 11"));
        QCOMPARE(combo.count(), 2);  // the row with a Null text is skipped
        QCOMPARE(combo.itemData(1).toInt(), 12);

        // No rows: nothing selected, and the items already there stay.
        LlenarCombo(&combo, "rubros", "codigo", "descripcion", "codigo > 100");
        QCOMPARE(combo.count(), 2);
        QCOMPARE(combo.currentIndex(), -1);
    }

    // A row whose second text is Null adds no item and must not retag the previous item.
    void filaSinSegundoTextoNoCambiaElDatoAnterior() {
        prueba::BaseDePrueba base;
        base.ejecutar("CREATE TABLE t (id INTEGER, texto TEXT, otro TEXT)");
        base.ejecutar("INSERT INTO t VALUES (5, 'cinco', 'E')");
        base.ejecutar("INSERT INTO t VALUES (6, 'seis', NULL)");
        QComboBox combo;
        LlenarCombo(&combo, "t order by id", "id", "texto", "", "otro");
        QCOMPARE(combo.count(), 1);
        QCOMPARE(combo.itemText(0), QString("E - cinco"));
        QCOMPARE(combo.itemData(0).toInt(), 5);

        // Rows, but none qualifies, on an empty combo: nothing to select.
        QComboBox vacio;
        LlenarCombo(&vacio, "t where id = 6", "id", "texto", "", "otro");
        QCOMPARE(vacio.count(), 0);
        QCOMPARE(vacio.currentIndex(), -1);
    }

    void posicionar() {
        QComboBox combo;
        combo.addItem("a", QVariant::fromValue<qint32>(3));
        combo.addItem("b", QVariant::fromValue<qint32>(7));
        combo.addItem("c", QVariant::fromValue<qint32>(7));
        combo.setCurrentIndex(0);
        PosicionarCombo(&combo, "7");
        QCOMPARE(combo.currentIndex(), 1);  // the first of two equal items
        PosicionarCombo(&combo, "9");
        QCOMPARE(combo.currentIndex(), 1);
        PosicionarCombo(&combo, "x");
        QCOMPARE(combo.currentIndex(), 1);
        PosicionarCombo(&combo, "3");
        QCOMPARE(combo.currentIndex(), 0);
        QComboBox vacio;
        PosicionarCombo(&vacio, "3");
        QCOMPARE(vacio.currentIndex(), -1);
    }
};

QTEST_MAIN(TstCombos)
#include "tst_combos.moc"
