#pragma once
// The editable grid of the program's lists: the company list, the period lookup and the
// declaration's two grids. Rows and columns count from 0; when the grid has a fixed header
// row (FixedRows() == 1) row 0 is that header and data rows start at 1, exactly as the
// callers address them. Columns carry keys; cells are usually addressed by key.
// Key codes are the Windows virtual-key codes the callers test (13 Enter, 27 Esc, 39 Right,
// 45 Insert, 46 Delete, 113 F2, ...); handlers may rewrite them (0 = consumed).

#include <QColor>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableWidget>
#include <vector>

#include "platform/MedidorTexto.h"

class QLineEdit;

namespace zul {

class Grid : public QTableWidget {
    Q_OBJECT
  public:
    explicit Grid(QWidget* parent = nullptr);

    // Shape. Rows() counts the header row too; setRows(1) keeps only the header,
    // setRows(0) empties a grid without header.
    int Rows() const;
    void setRows(int filas);
    int Cols() const;
    void setCols(int columnas);
    int FixedRows() const;
    void setFixedRows(int filas);  // 0 or 1; a new grid has its header row (1)
    // "Mes|Año|Período": defines the columns and their header captions.
    void setFormatString(const QString& formato);

    // A row with `texto` (cells separated by tabs; "" = empty row), appended, or inserted
    // before `posicion`.
    void AddItem(const QString& texto = QString(), int posicion = -1);
    void RemoveItem(int fila);
    bool IsSubtotal(int fila) const;
    void setSubtotal(int fila, bool subtotal);

    QString TextMatrix(int fila, int col) const;
    void setTextMatrix(int fila, int col, const QString& texto);
    // Cell by column key; an unknown key reads "" and writes nothing.
    QString TextoClave(int fila, const QString& clave) const;
    void setTextoClave(int fila, const QString& clave, const QString& texto);

    QString ColKey(int col) const;
    void setColKey(int col, const QString& clave);
    int ColIndex(const QString& clave) const;  // case-insensitive; -1 when no column has it

    // Current cell.
    int Row() const;
    void setRow(int fila);
    int Col() const;
    void setCol(int col);
    void setLeftCol(int col);  // first visible scrollable column

    // Selection of a block of cells (one cell when the second corner is omitted).
    void Select(int fila1, int col1, int fila2 = -1, int col2 = -1);
    void BorrarTextoSeleccion();  // clears the text of the selected cells
    // First row from `desde` whose cell in `col` equals `valor` (case-insensitive); -1 if none.
    int FindRow(const QString& valor, int desde, int col) const;

    // Formatting of the current cell (fill style 1: of the whole selection).
    void setFillStyle(int estilo);
    void setCellFontBold(bool negrita);
    void setCellForeColor(const QColor& color);
    bool CellFontBold(int fila, int col) const;
    QColor CellForeColor(int fila, int col) const;
    void setRedraw(bool redibujar);  // display updates off while marking rows
    bool Redraw() const;

    // Editing. Columns are read-only unless made editable.
    void setColEditable(int col, bool editable);
    bool ColEditable(int col) const;
    // A QLineEdit input mask for the column's editor ("" = none), e.g. "99/99/9999;_".
    void setColEditMask(int col, const QString& mascara);
    void EditCell();  // opens the editor on the current cell
    // The open editor's selection (no editor: reads 0, writes nothing).
    int EditSelStart() const;
    void setEditSelStart(int inicio);
    int EditSelLength() const;
    void setEditSelLength(int largo);
    bool Editando() const;  // a cell editor is open

    // How a column shows its cells: left, centred, or "general" (numbers to the right, other
    // texts to the left); a yes/no column shows its "1" and "0" as check boxes.
    enum Alineacion { alineacionIzquierda, alineacionCentro, alineacionGeneral };
    void setColAlignment(int col, Alineacion alineacion);
    void setColCasilla(int col, bool casilla);
    bool ColCasilla(int col) const;
    // Where a cell's text (or check box) stands, after its column's alignment.
    Qt::Alignment CellAlignment(int fila, int col) const;

    // Widths in twips (15 twips = 1 pixel). A column is widened beyond its width when its
    // header or a cell would not show whole in the grid's font.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    void setColHidden(int col, bool oculta);
    void AutoSize(int col1, int col2);
    int MouseRow() const;  // 0 over the header row; -1 outside the cells
    int MouseCol() const;

    // Windows virtual-key code of a Qt key (0 when it has none) and back.
    static int CodigoTecla(int teclaQt);
    static int TeclaQt(int codigo);
    // 1 Shift, 2 Ctrl, 4 Alt.
    static int CodigoShift(Qt::KeyboardModifiers modificadores);

  signals:
    void BeforeEdit(int fila, int col, bool& cancelar);
    void AfterEdit(int fila, int col);
    void EnterCell();
    void KeyDownGrid(int& keyCode, int shift);
    void KeyPressGrid(int& keyAscii);
    void DblClick();
    void GotFocus();
    void MouseMove(int boton, int shift, int x, int y);

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& texto) override;
    void focusInEvent(QFocusEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* objeto, QEvent* event) override;

    void changeEvent(QEvent* event) override;

  private:
    friend class GridDelegado;
    // Width in pixels that shows the header's and every cell's text of a column whole.
    int AnchoNecesario(int col, int desdeFila, int hastaFila) const;
    int Libre() const;  // pixels a cell adds to its text's width
    void Ensanchar(int col, int desdeFila, int hastaFila);
    // While the display is off and the grid was emptied, cells written here are measured as
    // they are made; the display's return widens to those widths instead of measuring every
    // cell again, unless anything else changed the cells meanwhile.
    void Vaciada();
    void setTextoCelda(int fila, int col, const QString& texto);
    bool conFuentePropia_ = false;    // some cell was made bold
    MedidorTexto medidor_;            // cell texts in the grid's font
    bool soloMedidas_ = false;        // every cell was measured into anchosMedidos_
    std::vector<int> anchosMedidos_;  // widest text by column, in pixels
    bool sinAvisar_ = false;          // cells were made without telling the views
    int tabla(int fila) const { return fila - fixed_; }
    QTableWidgetItem* celda(int fila, int col);  // created when missing; null for the header
    QTableWidgetItem* cabecera(int col);
    QList<QTableWidgetItem*> celdasAFormatear();
    void registrarMouse(int fila, int col, QMouseEvent* event);

    int fixed_ = 1;
    int fillStyle_ = 0;
    int mouseRow_ = -1;
    int mouseCol_ = -1;
    QPersistentModelIndex editando_;
    bool confirmado_ = false;
    bool volviendoDelEditor_ = false;
    QPointer<QLineEdit> editor_;
};

}  // namespace zul
