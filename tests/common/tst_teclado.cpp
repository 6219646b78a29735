#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "common/Teclado.h"

using namespace zul;

namespace {

EstadoFecha Caja(const QString& texto, int selStart = 0, int selLength = 0) {
    return {texto, selStart, selLength};
}

// Types a key into the plain state the way the wired box does.
void Teclear(EstadoFecha& e, char c) {
    const int queda = FechaKeyPress(e, c);
    if (queda != 0) EscribirEnFecha(e, queda);
}

const QString kPlantilla = QStringLiteral("  /  /    ");

struct Formulario {
    QWidget w;
    QLineEdit* antes = new QLineEdit(&w);
    QLineEdit* fecha = new QLineEdit(&w);
    QLineEdit* oculta = new QLineEdit(&w);
    QLineEdit* despues = new QLineEdit(&w);
    QPushButton* boton = new QPushButton(QStringLiteral("Aceptar"), &w);
    Formulario() {
        auto* l = new QVBoxLayout(&w);
        for (QWidget* c : {static_cast<QWidget*>(antes), static_cast<QWidget*>(fecha),
                           static_cast<QWidget*>(oculta), static_cast<QWidget*>(despues),
                           static_cast<QWidget*>(boton)})
            l->addWidget(c);
        InstalarCajaFecha(fecha);
        for (QLineEdit* c : {antes, despues}) InstalarTeclaEnter(c);
        oculta->setEnabled(false);
        w.show();
        w.activateWindow();
        if (!QTest::qWaitForWindowActive(&w)) qWarning("window not active");
    }
};

}  // namespace

class TstTeclado : public QObject {
    Q_OBJECT
  private slots:
    void entradaYEscrituraDeDigitos();
    void retroceso();
    void suprimir();
    void otrasTeclasNoLleganALaCaja();
    void limiteDeDiezCaracteres();
    void completarFecha_data();
    void completarFecha();
    void armarFecha_data();
    void armarFecha();
    void cajaRealEscribeYCompletaAlSalir();
    void cajaRealSuprimeRetrocedeYNoCrece();
    void pegarConElMenuSoloDejaFechas_data();
    void pegarConElMenuSoloDejaFechas();
    void enterYEscMuevenElFocoYLaTeclaLlega();
    void enterNoSaleDeLaVentanaHija();
    void teclaEnterApiDejaLosBotones();
};

void TstTeclado::entradaYEscrituraDeDigitos() {
    EstadoFecha e = Caja("");
    FechaGotFocus(e);
    QCOMPARE(e.texto, kPlantilla);
    QCOMPARE(e.selStart, 0);
    Teclear(e, '1');
    Teclear(e, '5');
    QCOMPARE(e.texto, QStringLiteral("15/  /    "));
    QCOMPARE(e.selStart, 2);
    // The next digit skips the "/" and lands in the month.
    Teclear(e, '0');
    QCOMPARE(e.texto, QStringLiteral("15/0 /    "));
    QCOMPARE(e.selStart, 4);

    // Whole text selected: a digit starts a new date.
    e = Caja("10/10/2020", 0, 10);
    Teclear(e, '2');
    QCOMPARE(e.texto, QStringLiteral("2 /  /    "));
    QCOMPARE(e.selStart, 1);

    e = Caja("1/02/2024");
    FechaGotFocus(e);
    QCOMPARE(e.texto, QStringLiteral("01/02/2024"));
    e = Caja("15/03/2024", 4);
    FechaGotFocus(e);
    QCOMPARE(e.texto, QStringLiteral("15/03/2024"));
    QCOMPARE(e.selStart, 4);
}

void TstTeclado::retroceso() {
    EstadoFecha e = Caja("15/03/2024", 3);
    QCOMPARE(FechaKeyPress(e, 8), 0);
    QCOMPARE(e.texto, QStringLiteral("1 /03/2024"));
    QCOMPARE(e.selStart, 1);
    e = Caja("15/03/2024", 5);
    FechaKeyPress(e, 8);
    QCOMPARE(e.texto, QStringLiteral("15/0 /2024"));
    QCOMPARE(e.selStart, 4);
    // Caret at the start: only a whole selection is cleared.
    e = Caja("15/03/2024", 0);
    FechaKeyPress(e, 8);
    QCOMPARE(e.texto, QStringLiteral("15/03/2024"));
    e = Caja("15/03/2024", 0, 10);
    FechaKeyPress(e, 8);
    QCOMPARE(e.texto, kPlantilla);
}

void TstTeclado::suprimir() {
    EstadoFecha e = Caja("15/03/2024", 0);
    QCOMPARE(FechaKeyDown(e, 46), 0);
    QCOMPARE(e.texto, QStringLiteral("50/32/024 "));
    QCOMPARE(e.selStart, 0);
    // Before a "/": nothing goes, the text is only laid out again.
    e = Caja("15/03/2024", 2);
    FechaKeyDown(e, 46);
    QCOMPARE(e.texto, QStringLiteral("15/03/2024"));
    QCOMPARE(e.selStart, 2);
    e = Caja("15/03/2024", 0, 10);
    FechaKeyDown(e, 46);
    QCOMPARE(e.texto, kPlantilla);
    // At the end, or on a text that is too long, nothing breaks.
    e = Caja("15/03/2024", 10);
    FechaKeyDown(e, 46);
    QCOMPARE(e.texto, QStringLiteral("15/03/2024"));
    e = Caja("15/03/20245", 3);
    FechaKeyDown(e, 46);
    QCOMPARE(e.texto, QStringLiteral("15/32/024 "));
    e = Caja("15/03/2024", 4);
    QCOMPARE(FechaKeyDown(e, 37), 37);
    QCOMPARE(e.texto, QStringLiteral("15/03/2024"));
}

void TstTeclado::otrasTeclasNoLleganALaCaja() {
    for (int c : {int('a'), int(' '), int('/'), int('-'), 13, 27, 22}) {
        EstadoFecha e = Caja("15/03/2024", 4);
        QCOMPARE(FechaKeyPress(e, c), 0);
        QCOMPARE(e.texto, QStringLiteral("15/03/2024"));
    }
}

void TstTeclado::limiteDeDiezCaracteres() {
    EstadoFecha e = Caja("15/03/2024", 10);
    Teclear(e, '7');
    QCOMPARE(e.texto, QStringLiteral("15/03/2024"));
    e = Caja("15/03/202", 9);
    Teclear(e, '7');
    QCOMPARE(e.texto, QStringLiteral("15/03/2027"));
}

void TstTeclado::completarFecha_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("resultado");
    QTest::newRow("solo dia") << "15/  /    "
                              << "15/12/2026";
    QTest::newRow("anio de dos") << "15/03/26  "
                                 << "15/03/2026";
    QTest::newRow("anio 0000") << "15/03/0000"
                               << "15/03/2000";
    QTest::newRow("mes blanco") << "15/  /2024"
                                << "15/12/2024";
    QTest::newRow("mes 00") << "15/00/2024"
                            << "15/12/2024";
    QTest::newRow("sin dia queda") << "  /03/2024"
                                   << "  /03/2024";
    QTest::newRow("mes de un blanco queda") << "15/3 /2024"
                                            << "15/3 /2024";
    QTest::newRow("anio de tres queda") << "15/03/202 "
                                        << "15/03/202 ";
    QTest::newRow("ceros") << "00/00/0000"
                           << "";
    QTest::newRow("plantilla") << "  /  /    "
                               << "";
    QTest::newRow("vacio") << ""
                           << "";
    // Two year digits that do not stand at the start still make the year.
    QTest::newRow("anio corrido") << "15/03/ 26 "
                                  << "15/03/2026";
}

void TstTeclado::completarFecha() {
    QFETCH(QString, texto);
    QFETCH(QString, resultado);
    QCOMPARE(CompletarFecha(texto, QDate(2026, 12, 3)), resultado);
}

void TstTeclado::armarFecha_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("hasta");
    QTest::addColumn<QString>("resultado");
    QTest::newRow("anio desde") << "2024" << false << "01/01/2024";
    QTest::newRow("anio hasta") << "2024" << true << "31/12/2024";
    QTest::newRow("mes desde") << "02/2024" << false << "01/02/2024";
    QTest::newRow("febrero bisiesto") << "02/2024" << true << "29/02/2024";
    QTest::newRow("diciembre hasta") << "12/2023" << true << "31/12/2023";
    QTest::newRow("fecha") << "5/3/2024" << true << "05/03/2024";
    QTest::newRow("vacio") << "" << true << "";
    QTest::newRow("no es fecha") << "13/2024" << true << "01/13/2024";
    QTest::newRow("texto") << "abc" << false << "01/01/abc";
}

void TstTeclado::armarFecha() {
    QFETCH(QString, texto);
    QFETCH(bool, hasta);
    QFETCH(QString, resultado);
    QCOMPARE(ArmarFecha(texto, hasta), resultado);
}

void TstTeclado::cajaRealEscribeYCompletaAlSalir() {
    Formulario f;
    f.fecha->setFocus(Qt::MouseFocusReason);
    QCOMPARE(f.fecha->text(), kPlantilla);
    QCOMPARE(f.fecha->cursorPosition(), 0);
    QTest::keyClicks(f.fecha, QStringLiteral("1x5/0-3"));
    QCOMPARE(f.fecha->text(), QStringLiteral("15/03/    "));
    QCOMPARE(f.fecha->cursorPosition(), 5);
    // Enter moves on (the disabled box is skipped) and leaving completes the year.
    QTest::keyClick(f.fecha, Qt::Key_Return);
    QTRY_VERIFY(f.despues->hasFocus());
    QCOMPARE(f.fecha->text(), QStringLiteral("15/03/") + QDate::currentDate().toString("yyyy"));
    // Coming back by Esc selects it all: a digit starts a new date.
    QTest::keyClick(f.despues, Qt::Key_Escape);
    QTRY_VERIFY(f.fecha->hasFocus());
    QTest::keyClick(f.fecha, Qt::Key_7);
    QCOMPARE(f.fecha->text(), QStringLiteral("7 /  /    "));
    // An empty date stays empty once left.
    QTest::keyClick(f.fecha, Qt::Key_Backspace);
    QCOMPARE(f.fecha->text(), kPlantilla);
    QTest::keyClick(f.fecha, Qt::Key_Escape);
    QTRY_VERIFY(f.antes->hasFocus());
    QCOMPARE(f.fecha->text(), QString());
}

void TstTeclado::cajaRealSuprimeRetrocedeYNoCrece() {
    Formulario f;
    f.fecha->setText(QStringLiteral("15/03/2024"));
    f.fecha->setFocus(Qt::MouseFocusReason);
    f.fecha->setCursorPosition(0);
    QTest::keyClick(f.fecha, Qt::Key_Delete);
    QCOMPARE(f.fecha->text(), QStringLiteral("50/32/024 "));
    QCOMPARE(f.fecha->cursorPosition(), 0);
    f.fecha->setText(QStringLiteral("15/03/2024"));
    f.fecha->setCursorPosition(3);
    QTest::keyClick(f.fecha, Qt::Key_Backspace);
    QCOMPARE(f.fecha->text(), QStringLiteral("1 /03/2024"));
    QCOMPARE(f.fecha->cursorPosition(), 1);
    f.fecha->setText(QStringLiteral("15/03/2024"));
    f.fecha->setCursorPosition(10);
    QTest::keyClicks(f.fecha, QStringLiteral("99"));
    QCOMPARE(f.fecha->text(), QStringLiteral("15/03/2024"));
    f.fecha->insert(QStringLiteral("123"));
    QCOMPARE(f.fecha->text().size(), 10);
}

void TstTeclado::pegarConElMenuSoloDejaFechas_data() {
    QTest::addColumn<QString>("copiado");
    QTest::addColumn<QString>("queda");
    QTest::newRow("letras") << "abc"
                            << "15/03/2024";
    QTest::newRow("fecha con letras") << "20/0a/2025"
                                      << "15/03/2024";
    QTest::newRow("fecha") << "20/04/2025"
                           << "20/04/2025";
}

void TstTeclado::pegarConElMenuSoloDejaFechas() {
    QFETCH(QString, copiado);
    QFETCH(QString, queda);
    Formulario f;
    f.fecha->setText(QStringLiteral("15/03/2024"));
    QApplication::clipboard()->setText(copiado);
    f.fecha->selectAll();
    f.fecha->paste();  // what the context menu's "Pegar" does
    QCOMPARE(f.fecha->text(), queda);
}

void TstTeclado::enterYEscMuevenElFocoYLaTeclaLlega() {
    Formulario f;
    f.despues->setText(QStringLiteral("abc"));
    QSignalSpy enter(f.despues, &QLineEdit::returnPressed);
    f.despues->setFocus();
    QTest::keyClick(f.despues, Qt::Key_Return);
    QCOMPARE(enter.size(), 1);  // the box still sees its key
    QTRY_VERIFY(f.boton->hasFocus());
    QCOMPARE(f.despues->text(), QStringLiteral("abc"));
    f.despues->setFocus();
    QTest::keyClick(f.despues, Qt::Key_Escape);
    QTRY_VERIFY(f.fecha->hasFocus());
    // Other keys are typed as usual.
    f.antes->setFocus();
    QTest::keyClicks(f.antes, QStringLiteral("x1"));
    QCOMPARE(f.antes->text(), QStringLiteral("x1"));
}

void TstTeclado::enterNoSaleDeLaVentanaHija() {
    QMdiArea area;
    QLineEdit* ultimas[2] = {};
    QLineEdit* primeras[2] = {};
    for (int i = 0; i < 2; ++i) {
        auto* hoja = new QWidget;
        auto* l = new QVBoxLayout(hoja);
        primeras[i] = new QLineEdit;
        ultimas[i] = new QLineEdit;
        l->addWidget(primeras[i]);
        l->addWidget(ultimas[i]);
        InstalarTeclaEnter(ultimas[i]);
        InstalarTeclaEnter(primeras[i]);
        area.addSubWindow(hoja)->show();
    }
    area.show();
    area.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&area));
    ultimas[0]->setFocus();
    QTest::keyClick(ultimas[0], Qt::Key_Return);
    QTRY_VERIFY(primeras[0]->hasFocus());
    // Esc in the first box goes nowhere, least of all to the other window.
    QTest::keyClick(primeras[0], Qt::Key_Escape);
    QTest::qWait(10);
    QVERIFY(primeras[0]->hasFocus());
}

void TstTeclado::teclaEnterApiDejaLosBotones() {
    Formulario f;
    f.boton->setFocus();
    int tecla = 13;
    TeclaEnterApi(tecla, f.boton);
    QCOMPARE(tecla, 13);
    QTest::qWait(20);
    QVERIFY(f.boton->hasFocus());

    f.antes->setFocus();
    TeclaEnterApi(tecla, f.antes);
    QCOMPARE(tecla, 0);
    QTRY_VERIFY(f.fecha->hasFocus());
    tecla = 27;
    TeclaEnterApi(tecla, f.fecha);
    QCOMPARE(tecla, 0);
    QTRY_VERIFY(f.antes->hasFocus());
    tecla = 'a';
    TeclaEnterApi(tecla, f.antes);
    QCOMPARE(tecla, int('a'));
}

QTEST_MAIN(TstTeclado)
#include "tst_teclado.moc"
