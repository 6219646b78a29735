// Payment bar code: digits worked out by hand, the font text, refusals, and the drawn bars
// read back from an image row.

#include <QtTest>

#include "common/Globales.h"
#include "declaration/CodigoBarras.h"
#include "support/BaseDePrueba.h"
#include "support/LectorI2of5.h"

using namespace zul;

namespace {

QString Caracteres(std::initializer_list<int> codigos) {
    QString t;
    for (int c : codigos) t += QChar(c);
    return t;
}

}  // namespace

class TstCodigoBarras : public QObject {
    Q_OBJECT

  private slots:
    void digitosYTextoDeFuente_data();
    void digitosYTextoDeFuente();
    void redondeoSobreElValorExacto();
    void cuitReducidoAOnceDigitos();
    void textoDeFuente();
    void codigosQueNoSePuedenArmar();
    void leeElCuitDeLaEmpresaActual();
    void barrasDibujadasSeLeenDeVuelta();
};

void TstCodigoBarras::digitosYTextoDeFuente_data() {
    QTest::addColumn<QString>("cuit");
    QTest::addColumn<QString>("periodo");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("digitos");
    QTest::addColumn<QString>("fuente");

    // Sum 9*4+7*5+1*2+3*0+9*3+7*0+... = 732, check digit 8.
    QTest::newRow("98765,4321 redondea a 98765,43")
        << "30-99887766-5"
        << "05/2024"
        << "98765,4321"
        << "45203099887766505202400098765438"
        << Caracteres(
               {171, 78, 53, 63, 170, 121, 110, 99, 83, 85, 35, 73, 33, 169, 109, 87, 71, 172});
    // 0,295 is a tie: exact value gives 0,30 (a double would give 0,29). Sum 383, check 7.
    QTest::newRow("0,295 a 0,30") << "20-17254359-7"
                                  << "12/2023"
                                  << "0,295"
                                  << "45202017254359712202300000000307"
                                  << Caracteres({171, 78, 53, 53, 50, 58, 76, 92, 104, 55, 35, 63,
                                                 33, 33, 33, 36, 40, 172});
    // 2,675 gives 2,68 (a double would give 2,67); blanks in the CUIT; pair 90 gives 161.
    // Sum 426, check 4.
    QTest::newRow("2,675 a 2,68") << "33 70845123 9"
                                  << "01/2025"
                                  << "2,675"
                                  << "45203370845123901202500000002684"
                                  << Caracteres({171, 78, 53, 66, 103, 117, 84, 56, 161, 45, 35, 83,
                                                 33, 33, 33, 59, 117, 172});
    // Sum 380 ends in 0: the check digit is 0, never 10.
    QTest::newRow("dígito verificador 0")
        << "20-17254359-7"
        << "12/2023"
        << "1,09"
        << "45202017254359712202300000001090"
        << Caracteres({171, 78, 53, 53, 50, 58, 76, 92, 104, 55, 35, 63, 33, 33, 33, 43, 161, 172});
    // Empty CUIT gives 11 zeros, a total of 0 gives ten zeros. Sum 138, check 2.
    QTest::newRow("sin CUIT, total 0")
        << ""
        << "01/2024"
        << "0"
        << "45200000000000001202400000000002"
        << Caracteres({171, 78, 53, 33, 33, 33, 33, 33, 33, 45, 35, 73, 33, 33, 33, 33, 35, 172});
    // Just below the limit: 99.999.999,99.
    QTest::newRow("máximo") << "20-17254359-7"
                            << "12/2023"
                            << "99999999,99"
                            << "4520201725435971220239999999999" +
                                   QString::number(
                                       DigitoVerificador("4520201725435971220239999999999"))
                            << QString();
}

void TstCodigoBarras::digitosYTextoDeFuente() {
    QFETCH(QString, cuit);
    QFETCH(QString, periodo);
    QFETCH(QString, total);
    QFETCH(QString, digitos);
    QFETCH(QString, fuente);
    const ResultadoCodBar r = ArmarCodBar(cuit, periodo, total);
    QVERIFY2(r, qPrintable(r.error));
    QCOMPARE(r.codigo->digitos, digitos);
    QCOMPARE(r.codigo->digitos.size(), 32);
    QCOMPARE(r.codigo->fuente.size(), 18);
    if (!fuente.isEmpty()) QCOMPARE(r.codigo->fuente, fuente);
}

void TstCodigoBarras::redondeoSobreElValorExacto() {
    auto importe = [](const QString& total) {
        return ArmarCodBar(QString("20172543597"), "03/2024", total).codigo->digitos.mid(21, 10);
    };
    QCOMPARE(importe("100,125"), QString("0000010012"));  // tie, even stays
    QCOMPARE(importe("100,375"), QString("0000010038"));  // tie, odd goes up
    QCOMPARE(importe("0,295"), QString("0000000030"));
    QCOMPARE(importe("2,675"), QString("0000000268"));
    QCOMPARE(importe("1.234,5"), QString("0000123450"));
    QCOMPARE(importe("0,0049"), QString("0000000000"));
}

void TstCodigoBarras::cuitReducidoAOnceDigitos() {
    QCOMPARE(SoloNumeros("30-99887766-5", 0), QString("30998877665"));
    QCOMPARE(SoloNumeros("123", 0), QString("00000000123"));
    QCOMPARE(SoloNumeros("CUIT 30 99887766 5 99", 0), QString("30998877665"));
    QCOMPARE(SoloNumeros("abc", 4), QString("0000"));
    // A Null CUIT counts as empty.
    QCOMPARE(ArmarCodBar(QVariant(), "01/2024", "0").codigo->digitos.mid(4, 11), QString(11, '0'));
}

void TstCodigoBarras::textoDeFuente() {
    QCOMPARE(I2of5(""), Caracteres({171, 172}));
    QCOMPARE(I2of5("98765"), Caracteres({171, 42, 120, 98, 172}));  // read as 098765
    QCOMPARE(I2of5("06"), QString("«'¬"));                          // the apostrophe
    QCOMPARE(I2of5("0089"), Caracteres({171, 33, 122, 172}));
    QCOMPARE(I2of5("9099"), Caracteres({171, 161, 170, 172}));
    QCOMPARE(DigitoVerificador(""), 0);
    QCOMPARE(DigitoVerificador("1"), 1);  // 10 - 9
}

void TstCodigoBarras::codigosQueNoSePuedenArmar() {
    const QVariant cuit("20172543597");
    for (const char* total : {"100000000", "123456789,5", "99999999,995", "-0,01", "", "abc"}) {
        const ResultadoCodBar r = ArmarCodBar(cuit, "03/2024", total);
        QVERIFY2(!r, total);
        QVERIFY(r.error.contains("código de barras"));
    }
    QVERIFY(!ArmarCodBar(cuit, "13/2024", "10"));
    QVERIFY(!ArmarCodBar(cuit, "__/____", "10"));
}

void TstCodigoBarras::leeElCuitDeLaEmpresaActual() {
    prueba::BaseDePrueba base;
    base.ejecutar(
        "insert into Empresa (emp_id, emp_nombre, emp_cuit) values (7, 'ACME', "
        "'30-99887766-5')");
    IdEmpresa = 7;
    const ResultadoCodBar r = ArmarCodBar("05/2024", "98765,4321");
    QVERIFY2(r, qPrintable(r.error));
    QCOMPARE(r.codigo->digitos, QString("45203099887766505202400098765438"));

    // The company row vanished after the window loaded: no code, no 21-digit one either.
    IdEmpresa = 8;
    const ResultadoCodBar sin = ArmarCodBar("05/2024", "10");
    QVERIFY(!sin);
    QVERIFY(sin.error.contains("empresa"));
    IdEmpresa = 0;
}

void TstCodigoBarras::barrasDibujadasSeLeenDeVuelta() {
    for (const QString& digitos :
         {QString("45203099887766505202400098765438"), QString("0123456789"), QString("98765")}) {
        for (int modulo : {2, 4}) {
            const QImage img = ImagenI2of5(digitos, modulo, 40);
            QVERIFY(!img.isNull());
            const prueba::Lectura l = prueba::LeerI2of5(img, 20);
            QVERIFY2(l.error.isEmpty(), qPrintable(l.error));
            QCOMPARE(l.digitos, digitos.size() % 2 ? "0" + digitos : digitos);
            QCOMPARE(l.proporcion, 2.5);
        }
    }
    // Exact 2.5 : 1 with an even module; 10-module quiet zones measured in pixels.
    const QImage img = ImagenI2of5("12", 2, 10);
    int x = 0;
    while (qGray(img.pixel(x, 5)) >= 128) ++x;
    QCOMPARE(x, 20);
    QVERIFY(ImagenI2of5("12a4").isNull());
}

QTEST_MAIN(TstCodigoBarras)
#include "tst_codigobarras.moc"
