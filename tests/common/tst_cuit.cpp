#include <QLineEdit>
#include <QTest>

#include "common/Cuit.h"
#include "platform/MsgBox.h"

using namespace zul;

class TstCuit : public QObject {
    Q_OBJECT
  private slots:
    void digitoVerificador_data();
    void digitoVerificador();
    void aceptable_data();
    void aceptable();
    void cajaCuit_data();
    void cajaCuit();
};

void TstCuit::digitoVerificador_data() {
    QTest::addColumn<QString>("cuit");
    QTest::addColumn<bool>("valido");
    QTest::newRow("sin separadores") << "20123456786" << true;
    QTest::newRow("con guiones") << "20-12345678-6" << true;
    QTest::newRow("con blancos y letras") << "20 1234a5678 6" << true;
    QTest::newRow("digito errado") << "20-12345678-5" << false;
    QTest::newRow("resto cero") << "27123456780" << true;
    // A remainder of 10 is no digit: refused whatever the last digit says.
    QTest::newRow("resto diez con 0") << "20000000010" << false;
    QTest::newRow("resto diez con 1") << "20000000011" << false;
    QTest::newRow("sin digitos son once ceros") << "--" << true;
    QTest::newRow("vacio") << "" << true;
    // Missing digits count as zeros: "2012345678" lacks its check digit 6.
    QTest::newRow("falta el ultimo") << "2012345678" << false;
    QTest::newRow("un duodecimo digito no cuenta") << "201234567869" << true;
    // Only the first 16 characters are read: the check digit falls outside.
    QTest::newRow("digito despues del 16") << "20 - 12345678 - 6" << false;
    QTest::newRow("16 justos") << "20 - 12345678 -6" << true;
}

void TstCuit::digitoVerificador() {
    QFETCH(QString, cuit);
    QFETCH(bool, valido);
    QCOMPARE(ValidarCuit(cuit), valido);
}

void TstCuit::aceptable_data() {
    QTest::addColumn<QString>("cuit");
    QTest::addColumn<bool>("aceptable");
    QTest::newRow("once digitos") << "20123456786" << true;
    QTest::newRow("trece con guiones") << "20-12345678-6" << true;
    QTest::newRow("con puntos") << "20.12345678.6" << true;
    QTest::newRow("blancos alrededor") << " 20-12345678-6 " << true;
    // The check digit alone would pass these: the shape must refuse them.
    QTest::newRow("con blancos largos") << "20 - 12345678 - 6" << false;
    QTest::newRow("trece guiones") << "-------------" << false;
    QTest::newRow("trece digitos") << "2012345678600" << false;
    // Separators count wherever they stand, as for the check digit.
    QTest::newRow("separador corrido") << "201-2345678-6" << true;
    QTest::newRow("separadores juntos") << "2012345678 -6" << true;
    QTest::newRow("tres separadores") << "20-1234567-8-6" << false;
    QTest::newRow("letra en el numero") << "20-1234567a-6" << false;
    QTest::newRow("once con letra") << "2012345678a" << false;
    QTest::newRow("digito errado") << "20-12345678-5" << false;
    QTest::newRow("diez digitos") << "2012345678" << false;
    QTest::newRow("doce digitos") << "201234567860" << false;
    QTest::newRow("vacio") << "" << false;
    QTest::newRow("once ceros") << "00000000000" << true;
    QTest::newRow("con letras") << "20a12345678-6" << false;
    QTest::newRow("resto diez") << "20000000010" << false;
}

void TstCuit::aceptable() {
    QFETCH(QString, cuit);
    QFETCH(bool, aceptable);
    QCOMPARE(CuitAceptable(cuit), aceptable);
}

void TstCuit::cajaCuit_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("pasa");
    QTest::addColumn<QString>("queda");  // what the box holds afterwards, and so is stored
    QTest::newRow("vacia") << "" << true << "";
    QTest::newRow("valido") << "20-12345678-6" << true << "20-12345678-6";
    QTest::newRow("trece guiones") << "-------------" << false << "-------------";
    QTest::newRow("solo blancos") << "   " << false << "   ";
    QTest::newRow("blancos alrededor") << " 20123456786 " << true << "20123456786";
    QTest::newRow("blanco y separadores") << "20-12345678-6 " << true << "20-12345678-6";
}

void TstCuit::cajaCuit() {
    QFETCH(QString, texto);
    QFETCH(bool, pasa);
    QFETCH(QString, queda);
    msgbox_prueba::activar();
    msgbox_prueba::limpiar();
    QLineEdit caja(texto);
    QCOMPARE(ComprobarCajaCuit(&caja), pasa);
    QCOMPARE(caja.text(), queda);
    const auto mostrados = msgbox_prueba::mostrados();
    QCOMPARE(mostrados.size(), pasa ? 0 : 1);
    if (!pasa) {
        QCOMPARE(mostrados[0].texto, QString("El CUIT no es válido"));
        QCOMPARE(mostrados[0].estilo, int(vbOKOnly));
    }
}

QTEST_MAIN(TstCuit)
#include "tst_cuit.moc"
