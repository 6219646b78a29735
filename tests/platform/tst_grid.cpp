#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "platform/Grid.h"

using zul::Grid;

class TstGrid : public QObject {
    Q_OBJECT

    // A grid with a header row and the leaver grid's first columns.
    static void armar(Grid& g) {
        g.setFixedRows(1);
        g.setFormatString("Código|Nombre|Fecha Egreso");
        g.setColKey(0, "Codigo");
        g.setColKey(1, "Nombre");
        g.setColKey(2, "FechaEgreso");
    }

    // What a load does with the display off before it comes back.
    enum Carga { kLlenada, kReemplazada, kQuitadas, kSinVaciar, kNegrita };

  private slots:
    void filaDeCabeceraYFilasDeDatos() {
        Grid g;
        armar(g);
        QCOMPARE(g.Rows(), 1);
        QCOMPARE(g.Cols(), 3);
        QCOMPARE(g.TextMatrix(0, 1), QString("Nombre"));
        g.AddItem("1\tPérez");
        g.AddItem("2\tGómez");
        QCOMPARE(g.Rows(), 3);
        QCOMPARE(g.rowCount(), 2);
        QCOMPARE(g.TextMatrix(1, 1), QString("Pérez"));
        QCOMPARE(g.item(1, 1)->text(), QString("Gómez"));
        g.setTextMatrix(0, 2, "Egreso");
        QCOMPARE(g.horizontalHeaderItem(2)->text(), QString("Egreso"));
        g.setRows(1);
        QCOMPARE(g.Rows(), 1);
        QCOMPARE(g.TextMatrix(0, 0), QString("Código"));

        // Without a header, row 0 is the first data row and setRows(0) empties the grid.
        Grid s;
        s.setFixedRows(0);
        s.setCols(2);
        QCOMPARE(s.Rows(), 0);
        QCOMPARE(s.Row(), -1);
        s.AddItem();
        s.setTextMatrix(0, 1, "x");
        QCOMPARE(s.item(0, 1)->text(), QString("x"));
        s.setRows(0);
        QCOMPARE(s.Rows(), 0);
        // A cell's text is one line, cut at the edge: a narrow "->" column is not broken.
        QVERIFY(!s.wordWrap());
        QCOMPARE(s.textElideMode(), Qt::ElideNone);
    }

    void agregarYQuitarEnPosicion() {
        Grid g;
        armar(g);
        g.AddItem("1");
        g.AddItem("3");
        g.AddItem("2", 2);  // before row 2
        g.AddItem("0", 1);  // before the first data row
        g.AddItem("", 5);   // position past the end appends
        QStringList codigos;
        for (int r = 1; r < g.Rows(); ++r) codigos << g.TextMatrix(r, 0);
        QCOMPARE(codigos, QStringList({"0", "1", "2", "3", ""}));
        g.RemoveItem(2);
        g.RemoveItem(0);   // the header is not a row that can be removed
        g.RemoveItem(99);  // nor a row that does not exist
        QCOMPARE(g.Rows(), 5);
        QCOMPARE(g.TextMatrix(2, 0), QString("2"));
    }

    void filasDeSubtotal() {
        Grid g;
        armar(g);
        g.AddItem("1");
        g.AddItem("Total");
        g.setSubtotal(2, true);
        QVERIFY(g.IsSubtotal(2));
        QVERIFY(!g.IsSubtotal(1));
        QVERIFY(!g.IsSubtotal(0));
        // A row inserted above keeps the mark on the subtotal row, which moves down.
        g.AddItem("", 2);
        QVERIFY(!g.IsSubtotal(2));
        QVERIFY(g.IsSubtotal(3));
        g.RemoveItem(1);
        QVERIFY(g.IsSubtotal(2));
    }

    void celdasPorClave() {
        Grid g;
        armar(g);
        g.AddItem();
        QCOMPARE(g.ColIndex("codigo"), 0);
        QCOMPARE(g.ColIndex("FECHAEGRESO"), 2);
        QCOMPARE(g.ColIndex("nada"), -1);
        QCOMPARE(g.ColIndex(""), -1);
        g.setTextoClave(1, "nombre", "Ríos");
        QCOMPARE(g.TextMatrix(1, 1), QString("Ríos"));
        QCOMPARE(g.TextoClave(1, "NOMBRE"), QString("Ríos"));
        g.setTextoClave(1, "nada", "x");  // unknown key writes nothing
        QCOMPARE(g.TextoClave(1, "nada"), QString());
        QCOMPARE(g.ColKey(2), QString("FechaEgreso"));
        QCOMPARE(g.TextMatrix(5, 0), QString());
    }

    void buscarFilaSinDistinguirMayusculas() {
        Grid g;
        g.setFixedRows(0);
        g.setCols(2);
        for (const char* c : {"7", "ab", "42", "AB"}) {
            g.AddItem();
            g.setTextMatrix(g.Rows() - 1, 1, c);
        }
        QCOMPARE(g.FindRow("42", 0, 1), 2);
        QCOMPARE(g.FindRow("Ab", 0, 1), 1);
        QCOMPARE(g.FindRow("ab", 2, 1), 3);
        QCOMPARE(g.FindRow("4", 0, 1), -1);
        QCOMPARE(g.FindRow("7", 0, 0), -1);
    }

    void seleccionarYBorrarTexto() {
        Grid g;
        g.setFixedRows(0);
        g.setCols(3);
        for (int r = 0; r < 3; ++r) g.AddItem("->\tx\ty");
        g.Select(0, 0, g.Rows() - 1, 0);
        g.BorrarTextoSeleccion();
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(g.TextMatrix(r, 0), QString());
            QCOMPARE(g.TextMatrix(r, 1), QString("x"));
        }
        g.Select(1, 2);
        QCOMPARE(g.Row(), 1);
        QCOMPARE(g.Col(), 2);
        g.BorrarTextoSeleccion();
        QCOMPARE(g.TextMatrix(1, 2), QString());
        QCOMPARE(g.TextMatrix(0, 2), QString("y"));

        Grid vacia;  // nothing to select in an empty grid
        vacia.setFixedRows(0);
        vacia.setCols(1);
        vacia.Select(0, 0, -1, 0);
        vacia.BorrarTextoSeleccion();
        QCOMPARE(vacia.Rows(), 0);
    }

    void negritaYColor() {
        Grid g;
        g.setFixedRows(0);
        g.setCols(3);
        for (int r = 0; r < 3; ++r) g.AddItem();
        // Moving the cursor leaves a one-cell selection: only that cell is formatted.
        g.Select(0, 0, 2, 0);
        g.setFillStyle(1);
        g.setRow(1);
        g.setCol(0);
        g.setCellFontBold(true);
        g.setCellForeColor(QColor(0, 0, 250));
        QVERIFY(g.CellFontBold(1, 0));
        QCOMPARE(g.CellForeColor(1, 0), QColor(0, 0, 250));
        QVERIFY(!g.CellFontBold(0, 0));
        QVERIFY(!g.CellFontBold(1, 1));
        // Fill style 1 over a block formats the whole block.
        g.Select(0, 1, 2, 2);
        g.setCellFontBold(true);
        QVERIFY(g.CellFontBold(2, 2));
        QVERIFY(g.CellFontBold(0, 1));
        g.setFillStyle(0);
        g.Select(0, 1, 2, 2);
        g.setCellFontBold(false);
        QVERIFY(!g.CellFontBold(0, 1));
        QVERIFY(g.CellFontBold(2, 2));
        g.setRedraw(false);
        QVERIFY(!g.Redraw());
        g.setRedraw(true);
        QVERIFY(g.Redraw());
    }

    void anchosEnTwips() {
        Grid g;
        g.setCols(2);
        g.setColWidth(0, 960);
        QCOMPARE(g.columnWidth(0), 64);
        QCOMPARE(g.ColWidth(0), 960);
        g.setColHidden(1, true);
        QVERIFY(g.isColumnHidden(1));
    }

    void anchosAlVolverLaPantalla_data() {
        QTest::addColumn<int>("carga");
        QTest::newRow("vaciada y llenada") << int(kLlenada);
        QTest::newRow("un texto largo reemplazado por uno corto") << int(kReemplazada);
        QTest::newRow("filas largas quitadas") << int(kQuitadas);
        QTest::newRow("sin vaciar, con una fila agregada por texto") << int(kSinVaciar);
        QTest::newRow("una celda en negrita") << int(kNegrita);
    }

    // Columns end as wide as the texts they hold at the end need, exactly as if those texts
    // had been written one by one with the display on; the views hear of the new cells once.
    void anchosAlVolverLaPantalla() {
        QFETCH(int, carga);
        const QString largo = QStringLiteral("NÚÑEZ D'ALESSANDRO, MARÍA JOSÉ DEL ROSARIO");
        const auto angostas = [](Grid& g) {
            armar(g);
            for (int c = 0; c < g.Cols(); ++c) g.setColWidth(c, 15);
        };
        Grid g;
        angostas(g);
        if (carga == kSinVaciar) g.AddItem("1\t" + largo);  // added texts are not measured
        QSignalSpy avisos(g.model(), &QAbstractItemModel::dataChanged);
        g.setRedraw(false);
        if (carga != kSinVaciar) g.setRows(1);
        const int primera = g.Rows();
        g.setRows(primera + 3);
        const QStringList nombres = {"Ruiz", largo, "Díaz"};
        for (int k = 0; k < 3; ++k) {
            g.setTextMatrix(primera + k, 0, QString::number(123456789 * (k + 1)));
            g.setTextMatrix(primera + k, 1, nombres[k]);
        }
        g.setTextMatrix(primera, 2, "15/04/2024");
        if (carga == kReemplazada) g.setTextMatrix(primera + 1, 1, "Ana");
        if (carga == kQuitadas) g.setRows(primera + 1);
        if (carga == kNegrita) {
            g.Select(primera, 0);
            g.setCellFontBold(true);
        }
        if (carga != kNegrita) QCOMPARE(avisos.count(), 0);
        g.AddItem();
        g.setRedraw(true);
        QCOMPARE(avisos.count(), carga == kNegrita ? 2 : 1);
        QCOMPARE(avisos.last().at(0).toModelIndex(), g.model()->index(0, 0));
        QCOMPARE(avisos.last().at(1).toModelIndex(),
                 g.model()->index(g.rowCount() - 1, g.Cols() - 1));

        Grid uno;
        angostas(uno);
        uno.setRows(g.Rows());
        for (int r = 1; r < g.Rows(); ++r)
            for (int c = 0; c < g.Cols(); ++c) {
                uno.setTextMatrix(r, c, g.TextMatrix(r, c));
                if (g.CellFontBold(r, c)) {
                    uno.Select(r, c);
                    uno.setCellFontBold(true);
                    uno.setTextMatrix(r, c, g.TextMatrix(r, c));
                }
            }
        for (int c = 0; c < g.Cols(); ++c) QCOMPARE(g.columnWidth(c), uno.columnWidth(c));
        const int nombre = QFontMetrics(g.font()).horizontalAdvance(largo);
        QCOMPARE(g.columnWidth(1) > nombre, carga != kReemplazada && carga != kQuitadas);
    }

    void filaYColumnaActuales() {
        Grid g;
        armar(g);
        QCOMPARE(g.Row(), 0);  // no data row yet: the cursor is on the header
        g.AddItem("1");
        g.AddItem("2");
        QSignalSpy entrar(&g, &Grid::EnterCell);
        g.setRow(2);
        g.setCol(2);
        QCOMPARE(g.Row(), 2);
        QCOMPARE(g.Col(), 2);
        QCOMPARE(g.currentRow(), 1);
        QCOMPARE(entrar.count(), 2);
        g.setRow(2);  // same cell: no new entry
        QCOMPARE(entrar.count(), 2);
        g.setRow(0);  // the header cannot be the current row
        QCOMPARE(g.Row(), 2);
    }

    // Enter rewritten into Right arrow moves right; Delete consumed leaves the grid alone.
    void teclasReescritasYConsumidas() {
        Grid g;
        armar(g);
        g.AddItem("1\ta");
        g.AddItem("2\tb");
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.setFocus();
        g.setRow(1);
        g.setCol(0);
        QList<int> vistas;
        connect(&g, &Grid::KeyDownGrid, &g, [&](int& codigo, int) {
            vistas << codigo;
            if (codigo == 13) codigo = 39;
            if (codigo == 46) {
                g.RemoveItem(g.Row());
                codigo = 0;
            }
        });
        QTest::keyClick(&g, Qt::Key_Return);
        QCOMPARE(g.Col(), 1);
        QCOMPARE(g.Row(), 1);
        QTest::keyClick(&g, Qt::Key_Down);
        QCOMPARE(g.Row(), 2);
        QTest::keyClick(&g, Qt::Key_Delete);
        QCOMPARE(g.Rows(), 2);
        QCOMPARE(g.TextMatrix(1, 0), QString("1"));
        QTest::keyClick(&g, Qt::Key_F2);
        QTest::keyClick(&g, Qt::Key_Insert);
        QTest::keyClick(&g, Qt::Key_Escape);
        QTest::keyClick(&g, Qt::Key_A);
        QCOMPARE(vistas, QList<int>({13, 40, 46, 113, 45, 27, 65}));

        // Key presses carry the character; a consumed one never reaches the grid's editor.
        g.setColEditable(1, true);
        QList<int> caracteres;
        connect(&g, &Grid::KeyPressGrid, &g, [&](int& ascii) {
            caracteres << ascii;
            ascii = 0;
        });
        QTest::keyClick(&g, Qt::Key_Z);
        QCOMPARE(caracteres, QList<int>({'z'}));
        QVERIFY(!g.Editando());
    }

    void edicionSoloEnColumnasEditablesYCancelable() {
        Grid g;
        armar(g);
        g.AddItem("1\ta");
        g.setColEditable(0, true);
        g.setColEditable(2, true);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.setFocus();
        QList<int> antes;
        bool rechazar = true;
        connect(&g, &Grid::BeforeEdit, &g, [&](int fila, int col, bool& cancelar) {
            antes << fila << col;
            cancelar = rechazar;
        });
        QSignalSpy despues(&g, &Grid::AfterEdit);
        int teclas = 0;
        connect(&g, &Grid::KeyDownGrid, &g, [&](int&, int) { ++teclas; });

        g.setRow(1);
        g.setCol(1);  // not editable: no event, no editor
        g.EditCell();
        QVERIFY(!g.Editando());
        QVERIFY(antes.isEmpty());

        g.setCol(0);
        g.EditCell();  // cancelled by the handler
        QVERIFY(!g.Editando());
        QCOMPARE(antes, QList<int>({1, 0}));

        rechazar = false;
        QTest::keyClick(&g, Qt::Key_7);  // typing opens the editor with that key
        QVERIFY(g.Editando());
        QLineEdit* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("7"));
        QTest::keyClick(editor, Qt::Key_2);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(despues.count(), 1);
        QCOMPARE(despues.at(0).at(0).toInt(), 1);
        QCOMPARE(despues.at(0).at(1).toInt(), 0);
        QCOMPARE(g.TextMatrix(1, 0), QString("72"));
        QCOMPARE(teclas, 1);  // the 7 that opened the editor; Enter ended the edit
        QCOMPARE(g.Col(), 0);

        // Esc abandons the edit: the text stays and no after-edit runs.
        g.EditCell();
        QVERIFY(g.Editando());
        editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QCOMPARE(g.EditSelStart(), 0);
        QCOMPARE(g.EditSelLength(), 2);
        QTest::keyClick(editor, Qt::Key_5);
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_VERIFY(!g.Editando());
        QCOMPARE(g.TextMatrix(1, 0), QString("72"));
        QCOMPARE(despues.count(), 1);

        // The after-edit handler may move the cursor; the grid is left consistent.
        connect(&g, &Grid::AfterEdit, &g, [&](int fila, int) { g.Select(fila, 2); });
        g.setCol(0);
        g.EditCell();
        editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        editor->setText("9");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(despues.count(), 2);
        QCOMPARE(g.Col(), 2);
        QCOMPARE(g.TextMatrix(1, 0), QString("9"));
    }

    // A date column with an edit mask: a typed date stays, an untouched one stays empty.

    void edicionConMascara() {
        Grid g;
        armar(g);
        g.AddItem("1	a");
        g.setColEditable(2, true);
        g.setColEditMask(2, "99/99/9999;_");
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.setFocus();
        g.Select(1, 2);
        g.EditCell();
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->inputMask(), QString("99/99/9999;_"));
        QSignalSpy despues(&g, &Grid::AfterEdit);
        g.setCol(1);  // leaving the cell commits what was typed: nothing
        QVERIFY(!g.Editando());
        QCOMPARE(despues.count(), 1);
        QCOMPARE(g.TextMatrix(1, 2), QString());
        g.setCol(2);
        g.EditCell();
        editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QTest::keyClicks(editor, "31122024");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!g.Editando());
        QCOMPARE(g.TextMatrix(1, 2), QString("31/12/2024"));
    }
};

QTEST_MAIN(TstGrid)
#include "tst_grid.moc"
