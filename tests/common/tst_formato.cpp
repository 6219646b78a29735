// SQL literals, display values and the text routines.
#include <QtTest>

#include "common/Formato.h"
#include "common/Moneda.h"

using namespace zul;

class TstFormato : public QObject {
    Q_OBJECT

  private slots:
    void literalNumerico() {
        QCOMPARE(FormatoSQL(QVariant(), 1), QString("0"));
        QCOMPARE(FormatoSQL(QString(""), 1), QString("0"));
        QCOMPARE(FormatoSQL(QString("abc"), 1), QString("0"));
        QCOMPARE(FormatoSQL(2.5, 1), QString("2.5"));
        QCOMPARE(FormatoSQL(QString(",5"), 1), QString("0.5"));
        QCOMPARE(FormatoSQL(QString("1,2,3"), 1), QString("1.23"));
        QCOMPARE(FormatoSQL(QString("1234,5"), 1), QString("1234.5"));
        QCOMPARE(FormatoSQL(QString("1.234,5"), 1), QString("1234.5"));
        QCOMPARE(FormatoSQL(QString("-7"), 1), QString("-7"));
        QCOMPARE(FormatoSQL(qlonglong(2147483647), 1), QString("2147483647"));
        QCOMPARE(FormatoSQL(0.1 + 0.2, 1), QString("0.3"));
        QCOMPARE(FormatoSQL(-0.5, 1), QString("-0.5"));
        QCOMPARE(FormatoSQL(1234.0625, 1), QString("1234.0625"));
        QCOMPARE(FormatoSQL(0.00001, 1), QString("0.00001"));
        QCOMPARE(FormatoSQL(1.0 / 3.0, 1), QString("0.333333333333333"));
    }

    void literalDeTextoDuplicaApostrofes() {
        QCOMPARE(FormatoSQL(QVariant(), 3), QString("''"));
        QCOMPARE(FormatoSQL(QString(""), 3), QString("''"));
        QCOMPARE(FormatoSQL(QString("D'Angelo"), 3), QString("'D''Angelo'"));
        QCOMPARE(FormatoSQL(150.5, 3), QString("'150,5'"));
    }

    void literalesDeFechaHoraYSiNo() {
        QCOMPARE(FormatoSQL(QString("31/02/2007"), 4), QString("NULL"));
        QCOMPARE(FormatoSQL(QString("31/12/2007"), 4), QString("#12/31/2007#"));
        QCOMPARE(FormatoSQL(QString("2007-12-31"), 4), QString("#12/31/2007#"));
        QCOMPARE(FormatoSQL(QString("  /  /    "), 4), QString("NULL"));
        QCOMPARE(FormatoSQL(QDate(2024, 2, 29), 4), QString("#02/29/2024#"));
        QCOMPARE(FormatoSQL(QString("7:05"), 5), QString("#07:05#"));
        QCOMPARE(FormatoSQL(QString("hola"), 5), QString("NULL"));
        QCOMPARE(FormatoSQL(true, 6), QString("1"));
        QCOMPARE(FormatoSQL(1, 6), QString("0"));  // only true counts
        QCOMPARE(FormatoSQL(false, 6), QString("0"));
        QCOMPARE(FormatoSQL(QVariant(), 6), QString("0"));
        for (int tipo : {0, 2, 7}) QCOMPARE(FormatoSQL(QString("x"), tipo), QString());
    }

    void valoresParaMostrar() {
        QCOMPARE(FormatoNulo(QVariant(), 1), QString());
        QCOMPARE(FormatoNulo(QVariant(), 2), QString("0"));
        QCOMPARE(FormatoNulo(1234.5, 1), QString("1234,5"));
        QCOMPARE(FormatoNulo(qlonglong(7), 3), QString("7"));
        QCOMPARE(FormatoNulo(QVariant(), 3), QString());
        QCOMPARE(FormatoNulo(QString("2024-03-01"), 4), QString("01/03/2024"));
        QCOMPARE(FormatoNulo(QString("basura"), 4), QString());
        QCOMPARE(FormatoNulo(QString("x"), 9), QString());
    }

    // Dates as lists show them, from the database's text or a typed one.
    void fechaParaMostrar_data() {
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("texto");
        QTest::newRow("iso") << "2024-03-01"
                             << "01/03/2024";
        QTest::newRow("29 de febrero bisiesto") << "2024-02-29"
                                                << "29/02/2024";
        QTest::newRow("29 de febrero no bisiesto") << "2023-02-29"
                                                   << "";
        QTest::newRow("mes 13") << "2024-13-01"
                                << "";
        QTest::newRow("día 00") << "2024-03-00"
                                << "";
        QTest::newRow("con hora") << "2024-03-01 10:30:00"
                                  << "01/03/2024";
        QTest::newRow("con blancos") << " 2024-03-01 "
                                     << "01/03/2024";
        QTest::newRow("mes de una cifra") << "2024-3-01"
                                          << "";
        QTest::newRow("barras al revés") << "2024/03/01"
                                         << "";
        QTest::newRow("letras") << "2024-0a-01"
                                << "";
        QTest::newRow("año de tres cifras") << "0999-12-31"
                                            << "31/12/0999";
        QTest::newRow("año cero") << "0000-01-01"
                                  << "";
        QTest::newRow("tipeada") << "1/2/24"
                                 << "01/02/2024";
        QTest::newRow("tipeada del siglo pasado") << "31/12/99"
                                                  << "31/12/1999";
    }

    void fechaParaMostrar() {
        QFETCH(QString, valor);
        QFETCH(QString, texto);
        QCOMPARE(FormatoNulo(valor, 4), texto);
        QCOMPARE(EsFecha(valor), !texto.isEmpty());
    }

    void reemplazos() {
        QCOMPARE(ReemplazarTexto("D'Angelo", "'", "''", 1), QString("D''Angelo"));
        QCOMPARE(ReemplazarTexto("1,234,5", ",", "", 0), QString("12345"));
        QCOMPARE(ReemplazarTexto("a-b-c", "-", "+", 2), QString("a+b-c"));
        QCOMPARE(ReemplazarTexto("a-b-c", "-", "+", 0), QString("a+bc"));
        QCOMPARE(Reemplazar(",5", ",", ".", 0), QString("0.5"));
        QCOMPARE(Reemplazar("1,2,3", ",", ".", 0), QString("1.23"));
        QCOMPARE(Reemplazar("abc", ",", ".", 0), QString("0"));
        QCOMPARE(Reemplazar("", ",", ".", 0), QString("0"));
        QCOMPARE(Reemplazar(".5", ".", ".", 0), QString("0.5"));  // clean-up still applies
        QCOMPARE(ReemplazarStr("Mes/Año/Período", "/", "|", 1), QString("Mes|Año|Período"));
        QCOMPARE(Reemplazar("aaaa", "aa", "a", 1), QString("a"));
        QCOMPARE(Reemplazar("ab", "a", "aa", 1), QString("aab"));  // ends although new holds old
    }

    // The box keeps the user's digits; only the marks change.
    void importeTipeado_data() {
        QTest::addColumn<QString>("tipeado");
        QTest::addColumn<QString>("texto");  // "-": no amount
        const auto fila = [](const char* nombre, const char* tipeado, const char* texto) {
            QTest::newRow(nombre) << QString(tipeado) << QString(texto);
        };
        fila("a la argentina", "1.234,50", "1234,50");
        fila("varios puntos sin coma", "1.234.567", "1234567");
        fila("punto decimal", "1234.50", "1234,50");
        // A lone point is the decimal point, whatever digits follow it.
        fila("punto solo ante tres cifras", "1.234", "1,234");
        fila("cero punto", "0.250", "0,250");
        fila("negativo punto", "-0.125", "-0,125");
        fila("ceros punto", "00.750", "00,750");
        fila("negativo", "-3.5", "-3,5");
        fila("agrupado mal", "1.23.4", "-");
        fila("dos comas", "12,345,678", "-");
        fila("vacio", "", "-");
    }
    void importeTipeado() {
        QFETCH(QString, tipeado);
        QFETCH(QString, texto);
        QCOMPARE(TextoImporte(tipeado).value_or("-"), texto);
        // Once cleaned, the literal carries the amount with its decimal point.
        if (texto != "-")
            QCOMPARE(FormatoSQL(texto, 1).toDouble(), QString(texto).replace(',', '.').toDouble());
    }

    void reemplazarPuntoPorComaDaUnNumero() {
        QCOMPARE(Reemplazar("1234.50", ".", ",", 0), QString("1234,50"));
        QCOMPARE(Reemplazar("1.2.3", ".", ",", 0), QString("1,23"));
        QCOMPARE(Reemplazar("x.5", ".", ",", 0), QString("0"));
    }

    void itemsDeLista() {
        QCOMPARE(ItemLista(",8", 2), QString("8"));
        QCOMPARE(ItemLista("0,3,1,X,0", 2), QString("3"));
        QCOMPARE(ItemLista("abc", 1), QString("abc"));
        QCOMPARE(ItemLista("abc", 2), QString());
        QCOMPARE(ItemLista("", 1), QString());
        QCOMPARE(ItemLista("a, b ", 2), QString("b"));
        QCOMPARE(ItemLista("a", 0), QString());
    }

    void monedaRedondeaAlParSobreElValorDecimal() {
        QCOMPARE(Moneda::desdeDouble(2.675).diezmilesimos(), 26750);
        QCOMPARE(Moneda::desdeDouble(0.00005).diezmilesimos(), 0);  // tie to even
        QCOMPARE(Moneda::desdeDouble(0.00015).diezmilesimos(), 2);
        QCOMPARE(Moneda::desdeDouble(-0.00015).diezmilesimos(), -2);
        QCOMPARE(Moneda::desdeDouble(1234.56789).diezmilesimos(), 12345679);
        QCOMPARE(Moneda::desdeDouble(0.295).centavos(), 30);  // 29,5 cents: to even 30
        QCOMPARE(Moneda::desdeDouble(2.675).centavos(), 268);
        QCOMPARE(Moneda::desdeDouble(0.285).centavos(), 28);
        QCOMPARE(Moneda::desdeDouble(150.5).texto(), QString("150,5"));
        QCOMPARE(Moneda::desdeDouble(-3).texto(), QString("-3"));
        QCOMPARE(Moneda::desdeTexto("150,5")->diezmilesimos(), 1505000);
        QVERIFY(!Moneda::desdeTexto("abc"));
        QCOMPARE(DividirRedondeoPar(-15, 10), -2);
        // Absurd amounts saturate instead of failing.
        QCOMPARE(Moneda::desdeDouble(1e300).diezmilesimos(), std::numeric_limits<qint64>::max());
        QCOMPARE(Moneda::desdeDouble(-1e20).diezmilesimos(), std::numeric_limits<qint64>::min());
        QCOMPARE(Moneda::desdeDouble(922337203685476.0).diezmilesimos(), 9223372036854760000LL);
        QCOMPARE(DividirRedondeoPar(-25, 10), -2);
        // A computation is told instead, and sums never wrap.
        QVERIFY(!Moneda::convertir(1e20));
        QVERIFY(!Moneda::convertir(std::numeric_limits<double>::infinity()));
        QCOMPARE(Moneda::convertir(-2.5)->diezmilesimos(), -25000);
        const Moneda tope = Moneda::desdeDiezmilesimos(std::numeric_limits<qint64>::max());
        QVERIFY(!tope.mas(Moneda::desdeDiezmilesimos(1)));
        QCOMPARE(tope.mas(Moneda::desdeDiezmilesimos(-1))->diezmilesimos(),
                 std::numeric_limits<qint64>::max() - 1);
    }

    void importeTecleado_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<qint64>("diezmilesimos");  // -1: not an amount
        QTest::newRow("agrupado con coma") << "1.234,50" << qint64(12345000);
        QTest::newRow("millones") << " 2.345.678,9 " << qint64(23456789000);
        QTest::newRow("coma") << "1234,5" << qint64(12345000);
        QTest::newRow("punto decimal") << "1234.50" << qint64(12345000);
        QTest::newRow("punto con un decimal") << "0.5" << qint64(5000);
        QTest::newRow("punto decimal ante tres cifras") << "1.234" << qint64(12340);
        QTest::newRow("cero punto") << "0.125" << qint64(1250);
        QTest::newRow("negativo cero punto") << "-0.125" << qint64(-1250);
        QTest::newRow("entero") << "1000" << qint64(10000000);
        QTest::newRow("dos puntos mal agrupados") << "1.23.4" << qint64(-1);
        QTest::newRow("punto y coma mal agrupados") << "12.34,5" << qint64(-1);
        QTest::newRow("letras") << "12a" << qint64(-1);
        // Held whole or refused: never rounded, never cut.
        QTest::newRow("el mayor") << "99.999.999.999,9999" << qint64(999999999999999);
        QTest::newRow("sobre el mayor") << "100.000.000.000" << qint64(-1);
        QTest::newRow("cinco decimales") << "1,23456" << qint64(-1);
        QTest::newRow("ceros de sobra") << "1,50000" << qint64(15000);
        QTest::newRow("vacío") << "" << qint64(-1);
    }
    void importeTecleado() {
        QFETCH(QString, texto);
        QFETCH(qint64, diezmilesimos);
        const std::optional<Moneda> m = Moneda::desdeImporte(texto);
        QCOMPARE(m ? m->diezmilesimos() : qint64(-1), diezmilesimos);
    }
};

QTEST_MAIN(TstFormato)
#include "tst_formato.moc"
