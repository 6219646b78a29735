#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "common/Formato.h"
#include "lookup/consulta.h"
#include "masterdata/Mantenimiento.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"

using namespace zul;

namespace {

// A window of the pattern over a small table of its own: a key, a name, a date and a display
// box; rows of `Hija` keep a record from being deleted.
class Cosas : public Mantenimiento {
  public:
    enum { kId = 0, kNombre = 1, kFecha = 2, kHijas = 3 };
    VarianteAlta variante;
    bool borradoFalla = false;

    explicit Cosas(VarianteAlta v)
        : Mantenimiento("frmCosas", "Cosas",
                        {{kId, "Código:", "", 1000, kCajaClave},
                         {kNombre, "Nombre:", "", 4000},
                         {kFecha, "Fecha:", ",4", 1500},
                         {kHijas, "Hijas:", "", 1000, kCajaMuestra}}),
          variante(v) {}

    QString Id() const { return FormatoSQL(texto(kId)->text(), 1); }
    VarianteAlta Variante() const override { return variante; }
    std::optional<ConsultaCaja> ConsultaDe(int caja) const override {
        if (caja != kId) return std::nullopt;
        return ConsultaCaja{"SELECT id, nombre FROM Cosa",
                            "nombre",
                            "Consulta de Cosas",
                            "Código/Nombre",
                            2,
                            {{"id", kId}}};
    }
    QString ConsultaClave() const override {
        return texto(kId)->text().isEmpty() ? QString() : "SELECT * FROM Cosa where id=" + Id();
    }
    QString AltaClave() const override { return "INSERT INTO Cosa (id) VALUES (" + Id() + ")"; }
    void MostrarRegistro(const Recordset& rs) override {
        texto(kNombre)->setText(FormatoNulo(rs.value("nombre"), 3));
        texto(kFecha)->setText(FormatoNulo(rs.value("fecha"), 4));
        texto(kHijas)->setText("hay");
    }
    QList<Requerido> Requeridos() const override {
        return {{kNombre, "Debe ingresar el nombre"},
                {kFecha, "Debe ingresar la fecha", [](const QString& t) { return EsFecha(t); }}};
    }
    bool Grabar(Database& db) override {
        const QString n = FormatoSQL(texto(kNombre)->text(), 3);
        const QString f = FormatoSQL(texto(kFecha)->text(), 4);
        return db.execute(Modo == 2 ? "INSERT INTO Cosa VALUES (" + Id() + "," + n + "," + f + ")"
                                    : "UPDATE Cosa SET nombre=" + n + ", fecha=" + f +
                                          " where id=" + Id()) > 0;
    }
    QString ConsultaDependientes() const override {
        return "SELECT * FROM Hija where cosa=" + Id();
    }
    QString MensajeDependientes() const override { return "Tiene hijas"; }
    QStringList SentenciasEliminar() const override {
        return {"DELETE FROM Nieta where cosa=" + Id(),
                borradoFalla ? "DELETE FROM NoExiste" : "DELETE FROM Nieta where cosa=0",
                "DELETE FROM Cosa where id=" + Id()};
    }
    void Limpiar() override { texto(kHijas)->setText(""); }
    // What each box held when the focus left it.
    QStringList salidas;
    void texto_LostFocus(int i) override { salidas << QString::number(i) + "=" + texto(i)->text(); }
};

struct Escena {
    prueba::BaseDePrueba base;
    Cosas v;
    explicit Escena(VarianteAlta variante = kAltaAlGrabar) : v(variante) {
        base.ejecutar("CREATE TABLE Cosa (id INTEGER PRIMARY KEY, nombre TEXT, fecha DATE)");
        base.ejecutar("CREATE TABLE Hija (cosa INTEGER)");
        base.ejecutar("CREATE TABLE Nieta (cosa INTEGER)");
        base.ejecutar("INSERT INTO Cosa VALUES (1, 'Peña', #03/15/2024#), (2, 'Libre', NULL)");
        base.ejecutar("INSERT INTO Hija VALUES (1)");
        base.ejecutar("INSERT INTO Nieta VALUES (2)");
        v.show();
        v.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&v));
        v.texto(Cosas::kId)->setFocus();
    }
    // Types into a box and leaves it with Enter, as the user does.
    void Escribir(int caja, const QString& t) {
        QLineEdit* c = v.texto(caja);
        c->setFocus();
        c->selectAll();
        c->insert(t);
        QTest::keyClick(c, Qt::Key_Return);
        QTest::qWait(0);
        QCoreApplication::processEvents();
    }
    QWidget* Foco() const { return QApplication::focusWidget(); }
    QVariant Valor(const QString& sql) const { return base.valor(sql); }
};

}  // namespace

class TstMantenimiento : public QObject {
    Q_OBJECT
  private slots:
    void init() { msgbox_prueba::limpiar(); }

    void aspectoYOrdenDeTabulacion() {
        Escena e;
        Cosas& v = e.v;
        QCOMPARE(v.windowTitle(), "Cosas");
        QCOMPARE(v.Label1(Cosas::kFecha)->text(), "Fecha:");
        QCOMPARE(v.texto(Cosas::kId)->palette().color(QPalette::Base), QColor(224, 224, 224));
        QVERIFY(v.texto(Cosas::kNombre)->palette().color(QPalette::Base) != QColor(224, 224, 224));
        QCOMPARE(v.findChild<QLabel*>("lblF2_0")->text(), "F2: Consulta");
        QVERIFY(v.texto(Cosas::kHijas)->isReadOnly());
        QStringList orden;
        QWidget* w = v.texto(Cosas::kId);
        while (orden.size() < 8) {
            if (w->focusPolicy() & Qt::TabFocus) orden << w->objectName();
            w = w->nextInFocusChain();
        }
        QCOMPARE(orden, QStringList({"texto_0", "texto_1", "texto_2", "texto_3", "btnGrabar",
                                     "btnEliminar", "btnCancelar", "btnSalir"}));
        QStringList caras;
        for (auto* b : {v.btnGrabar(), v.btnEliminar(), v.btnCancelar(), v.btnSalir()})
            caras << b->text();
        QCOMPARE(caras, QStringList({"&Grabar", "&Eliminar", "&Cancelar", "&Salir"}));
        // Entering a box selects its text; a date box shows its template first.
        v.texto(Cosas::kNombre)->setText("Núñez D'Alessandro");
        v.texto(Cosas::kNombre)->setFocus();
        QCOMPARE(v.texto(Cosas::kNombre)->selectedText(), "Núñez D'Alessandro");
        QTest::keyClick(v.texto(Cosas::kNombre), Qt::Key_Return);
        QTRY_COMPARE(e.Foco(), v.texto(Cosas::kFecha));
        QCOMPARE(v.texto(Cosas::kFecha)->text(), "  /  /    ");
        QTest::keyClick(v.texto(Cosas::kFecha), Qt::Key_Escape);
        QTRY_COMPARE(e.Foco(), v.texto(Cosas::kNombre));
    }

    // Leaving the key box: an existing record is shown (Modo 1); a new key is Modo 2, and
    // inserting at once creates its row; either way the key box is locked.
    void clave_data() {
        QTest::addColumn<int>("variante");
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("modo");
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<int>("filas");
        QTest::newRow("al grabar, existe") << int(kAltaAlGrabar) << "1" << 1 << "Peña" << 2;
        QTest::newRow("al grabar, nueva") << int(kAltaAlGrabar) << "9" << 2 << "" << 2;
        QTest::newRow("inmediata, existe") << int(kAltaInmediata) << "2" << 1 << "Libre" << 2;
        QTest::newRow("inmediata, nueva") << int(kAltaInmediata) << "9" << 2 << "" << 3;
    }
    void clave() {
        QFETCH(int, variante);
        QFETCH(QString, id);
        QFETCH(int, modo);
        QFETCH(QString, nombre);
        QFETCH(int, filas);
        Escena e(static_cast<VarianteAlta>(variante));
        e.Escribir(Cosas::kId, id);
        QTRY_COMPARE(e.Foco(), e.v.texto(Cosas::kNombre));
        QCOMPARE(int(e.v.Modo), modo);
        QVERIFY(e.v.HayRegistro() == (modo == 1 || variante == kAltaInmediata));
        QVERIFY(!e.v.texto(Cosas::kId)->isEnabled());
        QCOMPARE(e.v.texto(Cosas::kNombre)->text(), nombre);
        QCOMPARE(e.Valor("SELECT count(*) FROM Cosa").toInt(), filas);
        // Clear opens the key again and forgets the record.
        e.v.btnCancelar()->click();
        QVERIFY(e.v.texto(Cosas::kId)->isEnabled());
        QVERIFY(e.v.texto(Cosas::kNombre)->text().isEmpty());
        QCOMPARE(int(e.v.Modo), 0);
        QTRY_COMPARE(e.Foco(), e.v.texto(Cosas::kId));
    }

    // Leaving a box for another control runs the window's leave handling once, a date box
    // already completed; a refused validation is no leaving.
    void alSalirDeUnaCaja() {
        Escena e;
        e.Escribir(Cosas::kId, "2");
        QTRY_COMPARE(e.Foco(), e.v.texto(Cosas::kNombre));
        e.Escribir(Cosas::kNombre, "Núñez D'Alessandro");
        e.Escribir(Cosas::kFecha, "15/03/24");
        QTRY_COMPARE(e.v.salidas, QStringList({"0=2", "1=Núñez D'Alessandro", "2=15/03/2024"}));
        e.v.btnCancelar()->click();
        e.v.salidas.clear();
        e.base.ejecutar("DROP TABLE Cosa");  // the lookup fails: the key keeps the focus
        e.Escribir(Cosas::kId, "3");
        QTRY_COMPARE(e.Foco(), e.v.texto(Cosas::kId));
        QCOMPARE(e.v.salidas, QStringList());
    }

    // Required fields are checked in order; the first missing one is told (style 64, empty
    // title) and gets the focus; nothing is written.
    void requeridos_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("fecha");
        QTest::addColumn<QString>("mensaje");
        QTest::addColumn<int>("caja");
        QTest::newRow("todo vacío") << ""
                                    << ""
                                    << "Debe ingresar el nombre" << int(Cosas::kNombre);
        QTest::newRow("sin fecha") << "x"
                                   << ""
                                   << "Debe ingresar la fecha" << int(Cosas::kFecha);
        QTest::newRow("fecha imposible") << "x"
                                         << "31/02/2024"
                                         << "Debe ingresar la fecha" << int(Cosas::kFecha);
    }
    void requeridos() {
        QFETCH(QString, nombre);
        QFETCH(QString, fecha);
        QFETCH(QString, mensaje);
        QFETCH(int, caja);
        Escena e;
        e.Escribir(Cosas::kId, "9");
        e.v.texto(Cosas::kNombre)->setText(nombre);
        e.v.texto(Cosas::kFecha)->setText(fecha);
        e.v.btnGrabar()->click();
        const auto m = msgbox_prueba::mostrados();
        QCOMPARE(m.size(), 1);
        QCOMPARE(m[0].texto, mensaje);
        QCOMPARE(m[0].estilo, int(vbInformation));
        QCOMPARE(m[0].titulo, QString());
        QTRY_COMPARE(e.Foco(), e.v.texto(caja));
        QCOMPARE(int(e.v.Modo), 2);
        QCOMPARE(e.Valor("SELECT count(*) FROM Cosa").toInt(), 2);
    }

    // A new record saves once with what was typed (apostrophes and accents included), the
    // window is cleared; the same record loaded again updates.
    void grabarNuevoYExistente() {
        Escena e;
        e.Escribir(Cosas::kId, "9");
        e.v.texto(Cosas::kNombre)->setText("Núñez D'Alessandro");
        e.v.texto(Cosas::kFecha)->setText("29/02/2024");
        e.v.btnGrabar()->click();
        QCOMPARE(msgbox_prueba::mostrados().last().texto, "Los datos se grabaron correctamente");
        QCOMPARE(e.Valor("SELECT nombre FROM Cosa where id=9").toString(), "Núñez D'Alessandro");
        QCOMPARE(e.Valor("SELECT fecha FROM Cosa where id=9").toString(), "2024-02-29");
        QVERIFY(e.v.texto(Cosas::kId)->text().isEmpty());
        e.Escribir(Cosas::kId, "9");
        QCOMPARE(e.v.texto(Cosas::kNombre)->text(), "Núñez D'Alessandro");
        e.v.texto(Cosas::kNombre)->setText("Ñandú O'Higgins");
        e.v.btnGrabar()->click();
        QCOMPARE(e.Valor("SELECT count(*) FROM Cosa").toInt(), 3);
        QCOMPARE(e.Valor("SELECT nombre FROM Cosa where id=9").toString(), "Ñandú O'Higgins");
    }

    void eliminar_data() {
        QTest::addColumn<QString>("id");  // "" = nothing looked up
        QTest::addColumn<int>("respuesta");
        QTest::addColumn<bool>("falla");
        QTest::addColumn<QStringList>("mensajes");
        QTest::addColumn<int>("cosas");
        QTest::addColumn<int>("nietas");
        QTest::newRow("sin registro") << "" << int(vbYes) << false << QStringList() << 2 << 1;
        QTest::newRow("responde No")
            << "2" << int(vbNo) << false << QStringList{"Confirma eliminación del registro? "} << 2
            << 1;
        QTest::newRow("con dependientes")
            << "1" << int(vbYes) << false
            << QStringList{"Confirma eliminación del registro? ", "Tiene hijas"} << 2 << 1;
        QTest::newRow("falla y vuelve atrás")
            << "2" << int(vbYes) << true
            << QStringList{"Confirma eliminación del registro? ", "Error Nro.:"} << 2 << 1;
        QTest::newRow("elimina") << "2" << int(vbYes) << false
                                 << QStringList{"Confirma eliminación del registro? "} << 1 << 0;
    }
    void eliminar() {
        QFETCH(QString, id);
        QFETCH(int, respuesta);
        QFETCH(bool, falla);
        QFETCH(QStringList, mensajes);
        QFETCH(int, cosas);
        QFETCH(int, nietas);
        Escena e;
        e.v.borradoFalla = falla;
        if (!id.isEmpty()) e.Escribir(Cosas::kId, id);
        msgbox_prueba::responder(respuesta);
        e.v.btnEliminar()->click();
        const auto m = msgbox_prueba::mostrados();
        QCOMPARE(m.size(), mensajes.size());
        for (int i = 0; i < m.size(); ++i)
            QVERIFY2(m[i].texto.startsWith(mensajes[i]), qPrintable(m[i].texto));
        if (!m.isEmpty()) {
            QCOMPARE(m[0].estilo, int(vbYesNo));
            QCOMPARE(m[0].titulo, "Eliminación");
        }
        if (mensajes.size() > 1 && !falla) QCOMPARE(m[1].estilo, int(vbExclamation));
        QCOMPARE(e.Valor("SELECT count(*) FROM Cosa").toInt(), cosas);
        QCOMPARE(e.Valor("SELECT count(*) FROM Nieta").toInt(), nietas);
        // Refused or failed: the record stays on screen; deleted: the window is cleared.
        QCOMPARE(e.v.texto(Cosas::kId)->text(), cosas == 2 ? id : QString());
    }

    // F2 in the key box offers the lookup; the chosen key is looked up when the box is left.
    void consultaConF2() {
        Escena e;
        consulta::alMostrar = [](consulta& d) {
            QCOMPARE(d.windowTitle(), "Consulta de Cosas");
            d.grilla()->setCurrentIndex(d.grilla()->model()->index(1, 0));
            d.aceptar_Click();
        };
        QTest::keyClick(e.v.texto(Cosas::kId), Qt::Key_F2);
        consulta::alMostrar = nullptr;
        QCOMPARE(e.v.texto(Cosas::kId)->text(), "2");
        QVERIFY(e.v.texto(Cosas::kNombre)->text().isEmpty());
        e.v.texto(Cosas::kId)->setFocus();
        QTest::keyClick(e.v.texto(Cosas::kId), Qt::Key_Return);
        QTRY_COMPARE(e.v.texto(Cosas::kNombre)->text(), "Libre");
    }
};

QTEST_MAIN(TstMantenimiento)
#include "tst_mantenimiento.moc"
