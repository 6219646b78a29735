#include "platform/Grid.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOption>
#include <QStyledItemDelegate>
#include <QtMath>
#include <algorithm>

#include "platform/Ventana.h"

namespace zul {

namespace {
constexpr int RolClave = Qt::UserRole;
constexpr int RolEditable = Qt::UserRole + 1;
constexpr int RolMascara = Qt::UserRole + 2;
constexpr int RolSubtotal = Qt::UserRole + 3;
constexpr int RolAlineacion = Qt::UserRole + 4;
constexpr int RolCasilla = Qt::UserRole + 5;
// Points of the grids' type, and the pixels a row adds to the text's height.
constexpr int kPuntosFuente = 8;
constexpr int kAireFila = 4;

// A cell text that reads as a number: digits with their sign and separators.
bool PareceNumero(const QString& t) {
    bool digito = false;
    for (const QChar c : t) {
        if (c.isDigit())
            digito = true;
        else if (c != u',' && c != u'.' && c != u'-')
            return false;
    }
    return digito;
}
}  // namespace

// Line editor of the cells: the column's input mask, the whole text selected on opening.
class GridDelegado : public QStyledItemDelegate {
  public:
    explicit GridDelegado(Grid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        if (auto* cab = grid_->horizontalHeaderItem(index.column())) {
            const QString mascara = cab->data(RolMascara).toString();
            if (!mascara.isEmpty()) {
                editor->setInputMask(mascara);
                InstalarCajaFija(editor);
            }
        }
        grid_->editor_ = editor;
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* linea = static_cast<QLineEdit*>(editor);
        linea->setText(index.data(Qt::EditRole).toString());
        linea->selectAll();
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* linea = static_cast<QLineEdit*>(editor);
        // A masked editor with nothing typed gives back an empty cell, not the bare "//".
        QString texto = linea->text();
        if (!linea->inputMask().isEmpty() &&
            std::none_of(texto.cbegin(), texto.cend(),
                         [](QChar c) { return c.isLetterOrNumber(); }))
            texto.clear();
        model->setData(index, texto, Qt::EditRole);
    }

    // A yes/no cell is a check box where the column's alignment puts it, and no text.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (!grid_->ColCasilla(index.column())) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString texto = opt.text;
        opt.text.clear();
        QStyle* estilo = grid_->style();
        estilo->drawControl(QStyle::CE_ItemViewItem, &opt, painter, grid_);
        if (texto.isEmpty()) return;
        QStyleOptionViewItem casilla = opt;
        const QSize lado(estilo->pixelMetric(QStyle::PM_IndicatorWidth, &opt, grid_),
                         estilo->pixelMetric(QStyle::PM_IndicatorHeight, &opt, grid_));
        const Qt::Alignment donde =
            (grid_->CellAlignment(index.row() + grid_->fixed_, index.column()) &
             Qt::AlignHorizontal_Mask) |
            Qt::AlignVCenter;
        casilla.rect = QStyle::alignedRect(opt.direction, donde, lado,
                                           opt.rect.adjusted(Margen(), 0, -Margen(), 0));
        casilla.state = (opt.state & ~QStyle::State_HasFocus) |
                        (texto == QStringLiteral("0") ? QStyle::State_Off : QStyle::State_On);
        estilo->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &casilla, painter, grid_);
    }

    // Pixels a cell keeps free on each side of its text.
    int Margen() const {
        return grid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid_) + 1;
    }

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment =
            grid_->CellAlignment(index.row() + grid_->fixed_, index.column());
    }

  private:
    Grid* grid_;
};

Grid::Grid(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new GridDelegado(this));
    verticalHeader()->setVisible(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    // Narrow columns (a 255-twip marker column) keep the width they are given.
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->viewport()->installEventFilter(this);
    horizontalHeader()->viewport()->setMouseTracking(true);
    setMouseTracking(true);
    setHorizontalScrollMode(ScrollPerPixel);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setSelectionMode(ExtendedSelection);
    setTabKeyNavigation(false);
    // A cell's text stays on one line and is cut at the cell's edge, never wrapped or
    // shortened with "...": a narrow marker column must still show its "->".
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    QFont fuente = font();
    fuente.setPointSize(kPuntosFuente);
    setFont(fuente);
    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int fila, int col, int filaAnterior, int colAnterior) {
                if (fila >= 0 && (fila != filaAnterior || col != colAnterior)) emit EnterCell();
            });
    // Cells changed other than by the writes measured while the display is off: the display's
    // return measures them all.
    const auto alterada = [this] { soloMedidas_ = false; };
    connect(model(), &QAbstractItemModel::dataChanged, this, alterada);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, alterada);
    connect(model(), &QAbstractItemModel::columnsInserted, this, alterada);
    connect(model(), &QAbstractItemModel::columnsRemoved, this, alterada);
    connect(model(), &QAbstractItemModel::modelReset, this, alterada);
    connect(model(), &QAbstractItemModel::layoutChanged, this, alterada);
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this](int col) {
        mouseRow_ = fixed_ > 0 ? 0 : -1;
        mouseCol_ = col;
        emit DblClick();
    });
}

// ---- shape ----

int Grid::Rows() const {
    return rowCount() + fixed_;
}

void Grid::setRows(int filas) {
    setRowCount(qMax(0, filas - fixed_));
    if (rowCount() == 0) Vaciada();
}

void Grid::Vaciada() {
    if (updatesEnabled()) return;
    soloMedidas_ = true;
    anchosMedidos_.assign(columnCount(), -1);
}

int Grid::Cols() const {
    return columnCount();
}

void Grid::setCols(int columnas) {
    setColumnCount(qMax(0, columnas));
}

int Grid::FixedRows() const {
    return fixed_;
}

void Grid::setFixedRows(int filas) {
    fixed_ = filas > 0 ? 1 : 0;
    horizontalHeader()->setVisible(fixed_ == 1);
}

void Grid::setFormatString(const QString& formato) {
    const QStringList titulos = formato.split(QLatin1Char('|'));
    setColumnCount(titulos.size());
    for (int c = 0; c < titulos.size(); ++c) {
        cabecera(c)->setText(titulos.at(c));
        Ensanchar(c, 0, 0);
    }
}

void Grid::AddItem(const QString& texto, int posicion) {
    int fila = rowCount();
    if (posicion >= 0 && posicion < Rows()) fila = qMax(0, tabla(posicion));
    insertRow(fila);
    if (texto.isEmpty()) return;
    const QStringList partes = texto.split(QLatin1Char('\t'));
    for (int c = 0; c < partes.size() && c < columnCount(); ++c)
        setItem(fila, c, new QTableWidgetItem(partes.at(c)));
}

void Grid::RemoveItem(int fila) {
    if (fila >= fixed_ && fila < Rows()) removeRow(tabla(fila));
}

bool Grid::IsSubtotal(int fila) const {
    if (fila < fixed_ || fila >= Rows()) return false;
    const QTableWidgetItem* cab = verticalHeaderItem(tabla(fila));
    return cab && cab->data(RolSubtotal).toBool();
}

void Grid::setSubtotal(int fila, bool subtotal) {
    if (fila < fixed_ || fila >= Rows()) return;
    QTableWidgetItem* cab = verticalHeaderItem(tabla(fila));
    if (!cab) {
        cab = new QTableWidgetItem;
        setVerticalHeaderItem(tabla(fila), cab);
    }
    cab->setData(RolSubtotal, subtotal);
}

// ---- cells ----

QTableWidgetItem* Grid::cabecera(int col) {
    QTableWidgetItem* cab = horizontalHeaderItem(col);
    if (!cab) {
        cab = new QTableWidgetItem;
        setHorizontalHeaderItem(col, cab);
    }
    return cab;
}

QTableWidgetItem* Grid::celda(int fila, int col) {
    if (fila < fixed_ || fila >= Rows() || col < 0 || col >= columnCount()) return nullptr;
    QTableWidgetItem* it = item(tabla(fila), col);
    if (!it) {
        it = new QTableWidgetItem;
        setItem(tabla(fila), col, it);
    }
    return it;
}

QString Grid::TextMatrix(int fila, int col) const {
    if (col < 0 || col >= columnCount() || fila < 0 || fila >= Rows()) return QString();
    if (fila < fixed_) {
        const QTableWidgetItem* cab = horizontalHeaderItem(col);
        return cab ? cab->text() : QString();
    }
    const QTableWidgetItem* it = item(tabla(fila), col);
    return it ? it->text() : QString();
}

void Grid::setTextMatrix(int fila, int col, const QString& texto) {
    if (col < 0 || col >= columnCount() || fila < 0 || fila >= Rows()) return;
    if (fila < fixed_)
        cabecera(col)->setText(texto);
    else
        setTextoCelda(fila, col, texto);
    if (updatesEnabled()) Ensanchar(col, fila, fila);
}

void Grid::setTextoCelda(int fila, int col, const QString& texto) {
    QTableWidgetItem* it = item(tabla(fila), col);
    if (!it && texto.isEmpty()) return;
    // With the display off, and no editor or sorting hanging on each change, the views hear of
    // the cells once, when the display returns: lists of thousands are loaded so.
    const bool callar = !updatesEnabled() && state() != EditingState && !isSortingEnabled();
    if (callar) {
        sinAvisar_ = true;
        // A text replaced may have been the widest.
        if (it)
            soloMedidas_ = false;
        else if (soloMedidas_ && col < int(anchosMedidos_.size()))
            anchosMedidos_[col] = qMax(anchosMedidos_[col], medidor_.ancho(texto, font()));
    }
    const QSignalBlocker bloqueo(callar ? model() : nullptr);
    if (it)
        it->setText(texto);
    else
        // A new cell is made with its text: the view hears of it once.
        setItem(tabla(fila), col, new QTableWidgetItem(texto));
}

QString Grid::TextoClave(int fila, const QString& clave) const {
    const int col = ColIndex(clave);
    return col < 0 ? QString() : TextMatrix(fila, col);
}

void Grid::setTextoClave(int fila, const QString& clave, const QString& texto) {
    const int col = ColIndex(clave);
    if (col >= 0) setTextMatrix(fila, col, texto);
}

QString Grid::ColKey(int col) const {
    const QTableWidgetItem* cab = horizontalHeaderItem(col);
    return cab ? cab->data(RolClave).toString() : QString();
}

void Grid::setColKey(int col, const QString& clave) {
    if (col >= 0 && col < columnCount()) cabecera(col)->setData(RolClave, clave);
}

int Grid::ColIndex(const QString& clave) const {
    for (int c = 0; c < columnCount(); ++c)
        if (ColKey(c).compare(clave, Qt::CaseInsensitive) == 0 && !ColKey(c).isEmpty()) return c;
    return -1;
}

// ---- current cell and selection ----

int Grid::Row() const {
    return currentRow() >= 0 ? currentRow() + fixed_ : fixed_ - 1;
}

void Grid::setRow(int fila) {
    if (fila < fixed_ || fila >= Rows() || columnCount() == 0) return;
    setCurrentCell(tabla(fila), qMax(currentColumn(), 0));
}

int Grid::Col() const {
    return qMax(currentColumn(), 0);
}

void Grid::setCol(int col) {
    if (col < 0 || col >= columnCount() || rowCount() == 0) return;
    setCurrentCell(qMax(currentRow(), 0), col);
}

void Grid::setLeftCol(int col) {
    if (col < 0 || col >= columnCount()) return;
    horizontalScrollBar()->setValue(columnViewportPosition(col) + horizontalOffset());
}

void Grid::Select(int fila1, int col1, int fila2, int col2) {
    if (fila2 < 0) fila2 = fila1;
    if (col2 < 0) col2 = col1;
    clearSelection();
    if (rowCount() == 0 || columnCount() == 0) return;
    const int ultimaFila = Rows() - 1;
    const int ultimaCol = columnCount() - 1;
    fila1 = qBound(fixed_, fila1, ultimaFila);
    fila2 = qBound(fixed_, fila2, ultimaFila);
    col1 = qBound(0, col1, ultimaCol);
    col2 = qBound(0, col2, ultimaCol);
    // The first corner becomes the current cell, as moving the cursor there would.
    setCurrentCell(tabla(fila1), col1, QItemSelectionModel::NoUpdate);
    setRangeSelected(QTableWidgetSelectionRange(tabla(qMin(fila1, fila2)), qMin(col1, col2),
                                                tabla(qMax(fila1, fila2)), qMax(col1, col2)),
                     true);
}

void Grid::BorrarTextoSeleccion() {
    const auto rangos = selectedRanges();
    for (const QTableWidgetSelectionRange& r : rangos)
        for (int f = r.topRow(); f <= r.bottomRow(); ++f)
            for (int c = r.leftColumn(); c <= r.rightColumn(); ++c)
                if (QTableWidgetItem* it = item(f, c)) it->setText(QString());
}

int Grid::FindRow(const QString& valor, int desde, int col) const {
    if (col < 0 || col >= columnCount()) return -1;
    for (int f = qMax(desde, 0); f < Rows(); ++f)
        if (TextMatrix(f, col).compare(valor, Qt::CaseInsensitive) == 0) return f;
    return -1;
}

// ---- formatting ----

void Grid::setFillStyle(int estilo) {
    fillStyle_ = estilo;
}

QList<QTableWidgetItem*> Grid::celdasAFormatear() {
    QList<QTableWidgetItem*> celdas;
    if (currentRow() < 0 || currentColumn() < 0) return celdas;
    celdas.append(celda(Row(), Col()));
    if (fillStyle_ == 1) {
        const auto rangos = selectedRanges();
        for (const QTableWidgetSelectionRange& r : rangos)
            for (int f = r.topRow(); f <= r.bottomRow(); ++f)
                for (int c = r.leftColumn(); c <= r.rightColumn(); ++c)
                    if (f != currentRow() || c != currentColumn())
                        celdas.append(celda(f + fixed_, c));
    }
    return celdas;
}

void Grid::setCellFontBold(bool negrita) {
    conFuentePropia_ = true;
    const auto celdas = celdasAFormatear();
    for (QTableWidgetItem* it : celdas) {
        QFont fuente = it->font();
        fuente.setBold(negrita);
        it->setFont(fuente);
    }
}

void Grid::setCellForeColor(const QColor& color) {
    const auto celdas = celdasAFormatear();
    for (QTableWidgetItem* it : celdas) it->setForeground(color);
}

bool Grid::CellFontBold(int fila, int col) const {
    if (fila < fixed_ || fila >= Rows()) return false;
    const QTableWidgetItem* it = item(tabla(fila), col);
    return it && it->font().bold();
}

QColor Grid::CellForeColor(int fila, int col) const {
    if (fila >= fixed_ && fila < Rows())
        if (const QTableWidgetItem* it = item(tabla(fila), col))
            if (it->foreground().style() != Qt::NoBrush) return it->foreground().color();
    return palette().color(QPalette::Text);
}

void Grid::setRedraw(bool redibujar) {
    if (redibujar && !updatesEnabled()) {
        // Columns catch up with the texts written while the display was off.
        const int libre = Libre();
        for (int c = 0; c < columnCount(); ++c) {
            if (!soloMedidas_ || ColCasilla(c) || c >= int(anchosMedidos_.size())) {
                Ensanchar(c, fixed_, Rows() - 1);
            } else if (!isColumnHidden(c) && anchosMedidos_[c] >= 0) {
                const int necesario = anchosMedidos_[c] + libre;
                if (columnWidth(c) < necesario) setColumnWidth(c, necesario);
            }
        }
        soloMedidas_ = false;
        if (sinAvisar_ && rowCount() > 0 && columnCount() > 0)
            emit model()->dataChanged(model()->index(0, 0),
                                      model()->index(rowCount() - 1, columnCount() - 1));
        sinAvisar_ = false;
    }
    setUpdatesEnabled(redibujar);
    if (redibujar) return;
    // Measuring starts when the grid is empty, now or at the next emptying.
    soloMedidas_ = false;
    if (rowCount() == 0) Vaciada();
}

void Grid::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    if (event->type() != QEvent::FontChange) return;
    medidor_.olvidar();
    soloMedidas_ = false;
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kAireFila);
    for (int c = 0; c < columnCount(); ++c) Ensanchar(c, 0, Rows() - 1);
}

void Grid::setColAlignment(int col, Alineacion alineacion) {
    if (col >= 0 && col < columnCount()) cabecera(col)->setData(RolAlineacion, alineacion);
}

void Grid::setColCasilla(int col, bool casilla) {
    if (col >= 0 && col < columnCount()) cabecera(col)->setData(RolCasilla, casilla);
}

bool Grid::ColCasilla(int col) const {
    const QTableWidgetItem* cab = horizontalHeaderItem(col);
    return cab && cab->data(RolCasilla).toBool();
}

Qt::Alignment Grid::CellAlignment(int fila, int col) const {
    const QTableWidgetItem* cab = horizontalHeaderItem(col);
    const int alineacion = cab ? cab->data(RolAlineacion).toInt() : alineacionIzquierda;
    Qt::Alignment h = Qt::AlignLeft;
    if (alineacion == alineacionCentro)
        h = Qt::AlignHCenter;
    else if (alineacion == alineacionGeneral && PareceNumero(TextMatrix(fila, col)))
        h = Qt::AlignRight;
    return h | Qt::AlignVCenter;
}

int Grid::Libre() const {
    return 2 * static_cast<const GridDelegado*>(itemDelegate())->Margen() + (showGrid() ? 1 : 0);
}

int Grid::AnchoNecesario(int col, int desdeFila, int hastaFila) const {
    const QTableWidgetItem* cab = horizontalHeaderItem(col);
    int ancho = 0;
    if (desdeFila < fixed_ && cab) ancho = AnchoCabecera(horizontalHeader(), cab->text(), col);
    const bool casilla = ColCasilla(col);
    const int libre = Libre();
    if (casilla)
        return qMax(ancho, style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) + libre);
    for (int r = qMax(desdeFila, fixed_); r <= hastaFila && r < Rows(); ++r) {
        const QTableWidgetItem* it = item(tabla(r), col);
        if (!it) continue;
        const QString texto = it->text();
        if (texto.isEmpty()) continue;
        const QVariant propia = conFuentePropia_ ? it->data(Qt::FontRole) : QVariant();
        const int medido = propia.isValid()
                               ? QFontMetrics(propia.value<QFont>()).horizontalAdvance(texto)
                               : medidor_.ancho(texto, font());
        ancho = qMax(ancho, medido + libre);
    }
    return ancho;
}

void Grid::Ensanchar(int col, int desdeFila, int hastaFila) {
    if (col < 0 || col >= columnCount() || isColumnHidden(col)) return;
    const int necesario = AnchoNecesario(col, desdeFila, hastaFila);
    if (columnWidth(col) < necesario) setColumnWidth(col, necesario);
}

bool Grid::Redraw() const {
    return updatesEnabled();
}

// ---- editing ----

void Grid::setColEditable(int col, bool editable) {
    if (col >= 0 && col < columnCount()) cabecera(col)->setData(RolEditable, editable);
}

bool Grid::ColEditable(int col) const {
    const QTableWidgetItem* cab = horizontalHeaderItem(col);
    return cab && cab->data(RolEditable).toBool();
}

void Grid::setColEditMask(int col, const QString& mascara) {
    if (col >= 0 && col < columnCount()) cabecera(col)->setData(RolMascara, mascara);
}

void Grid::EditCell() {
    // The protected overload: a refused edit is an answer here, not a failure to warn about.
    if (currentIndex().isValid()) edit(currentIndex(), AllEditTriggers, nullptr);
}

bool Grid::Editando() const {
    return state() == EditingState && editor_;
}

int Grid::EditSelStart() const {
    if (!editor_) return 0;
    return editor_->hasSelectedText() ? editor_->selectionStart() : editor_->cursorPosition();
}

void Grid::setEditSelStart(int inicio) {
    if (editor_) editor_->setCursorPosition(inicio);
}

int Grid::EditSelLength() const {
    return editor_ ? editor_->selectedText().size() : 0;
}

void Grid::setEditSelLength(int largo) {
    if (!editor_) return;
    const int inicio = EditSelStart();
    editor_->setSelection(inicio, largo);
}

bool Grid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    bool abre = index.isValid() && state() != EditingState &&
                (trigger == AllEditTriggers || (trigger & editTriggers()));
    if (abre && trigger == AnyKeyPressed) {
        const auto* tecla = static_cast<QKeyEvent*>(event);
        abre = tecla && !tecla->text().isEmpty() && tecla->text().at(0).isPrint();
    }
    if (!abre) return QTableWidget::edit(index, trigger, event);
    if (!ColEditable(index.column())) return false;
    bool cancelar = false;
    emit BeforeEdit(index.row() + fixed_, index.column(), cancelar);
    if (cancelar) return false;
    editando_ = index;
    confirmado_ = false;
    return QTableWidget::edit(index, trigger, event);
}

void Grid::commitData(QWidget* editor) {
    QTableWidget::commitData(editor);
    confirmado_ = true;
}

void Grid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // Tab leaves the grid's editing to the handlers: the after-edit decides where to go next.
    if (hint == QAbstractItemDelegate::EditNextItem ||
        hint == QAbstractItemDelegate::EditPreviousItem)
        hint = QAbstractItemDelegate::NoHint;
    const QPersistentModelIndex editada = editando_;
    const bool confirmado = confirmado_;
    editando_ = QPersistentModelIndex();
    confirmado_ = false;
    volviendoDelEditor_ = true;
    QTableWidget::closeEditor(editor, hint);
    volviendoDelEditor_ = false;
    if (confirmado && editada.isValid()) emit AfterEdit(editada.row() + fixed_, editada.column());
}

// ---- keys ----

int Grid::CodigoTecla(int teclaQt) {
    if ((teclaQt >= Qt::Key_A && teclaQt <= Qt::Key_Z) ||
        (teclaQt >= Qt::Key_0 && teclaQt <= Qt::Key_9))
        return teclaQt;  // same codes as the uppercase ASCII characters
    if (teclaQt >= Qt::Key_F1 && teclaQt <= Qt::Key_F24) return 112 + (teclaQt - Qt::Key_F1);
    switch (teclaQt) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        default:
            return 0;
    }
}

int Grid::TeclaQt(int codigo) {
    if ((codigo >= 'A' && codigo <= 'Z') || (codigo >= '0' && codigo <= '9')) return codigo;
    if (codigo >= 112 && codigo <= 135) return Qt::Key_F1 + (codigo - 112);
    switch (codigo) {
        case 8:
            return Qt::Key_Backspace;
        case 9:
            return Qt::Key_Tab;
        case 13:
            return Qt::Key_Return;
        case 27:
            return Qt::Key_Escape;
        case 32:
            return Qt::Key_Space;
        case 33:
            return Qt::Key_PageUp;
        case 34:
            return Qt::Key_PageDown;
        case 35:
            return Qt::Key_End;
        case 36:
            return Qt::Key_Home;
        case 37:
            return Qt::Key_Left;
        case 38:
            return Qt::Key_Up;
        case 39:
            return Qt::Key_Right;
        case 40:
            return Qt::Key_Down;
        case 45:
            return Qt::Key_Insert;
        case 46:
            return Qt::Key_Delete;
        default:
            return 0;
    }
}

int Grid::CodigoShift(Qt::KeyboardModifiers modificadores) {
    int shift = 0;
    if (modificadores & Qt::ShiftModifier) shift |= 1;
    if (modificadores & Qt::ControlModifier) shift |= 2;
    if (modificadores & Qt::AltModifier) shift |= 4;
    return shift;
}

void Grid::keyPressEvent(QKeyEvent* event) {
    // Keys the cell editor lets through (Enter ending the edit) belong to the edit, not to
    // the grid's key handlers, and must not reach the window either.
    if (state() == EditingState) {
        // Up and Down end the edit and move to the row above or below, as from any cell.
        const bool vertical = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
        if (vertical && editor_) {
            QWidget* editor = editor_;
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
            keyPressEvent(event);
            return;
        }
        event->accept();
        return;
    }
    const int original = CodigoTecla(event->key());
    if (original == 0) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    int codigo = original;
    emit KeyDownGrid(codigo, CodigoShift(event->modifiers()));
    if (codigo == 0) {
        event->accept();
        return;
    }
    if (codigo != original) {
        // The handler asked for another key: the grid acts as if that one was pressed.
        const int tecla = TeclaQt(codigo);
        if (tecla == 0) {
            event->accept();
            return;
        }
        QKeyEvent otra(QEvent::KeyPress, tecla, event->modifiers());
        QTableWidget::keyPressEvent(&otra);
        event->setAccepted(otra.isAccepted());
        return;
    }
    const QString texto = event->text();
    if (texto.isEmpty()) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    int ascii = texto.at(0).unicode();
    const int asciiOriginal = ascii;
    emit KeyPressGrid(ascii);
    if (ascii == 0) {
        event->accept();
        return;
    }
    if (ascii != asciiOriginal) {
        const QString nuevo(QChar(static_cast<char16_t>(ascii)));
        QKeyEvent otra(QEvent::KeyPress, TeclaQt(QChar(ascii).toUpper().unicode()),
                       event->modifiers(), nuevo);
        QTableWidget::keyPressEvent(&otra);
        event->setAccepted(otra.isAccepted());
        return;
    }
    QTableWidget::keyPressEvent(event);
}

// Typing a letter must not jump to a row that starts with it: letters are for the editor.
void Grid::keyboardSearch(const QString&) {}

// ---- focus and mouse ----

void Grid::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    // The focus coming back from the grid's own editor is not a new arrival.
    if (!volviendoDelEditor_) emit GotFocus();
}

void Grid::registrarMouse(int fila, int col, QMouseEvent* event) {
    mouseRow_ = fila;
    mouseCol_ = col;
    if (event->type() == QEvent::MouseMove) {
        int boton = 0;
        if (event->buttons() & Qt::LeftButton) boton |= 1;
        if (event->buttons() & Qt::RightButton) boton |= 2;
        if (event->buttons() & Qt::MiddleButton) boton |= 4;
        const QPoint p = mapFromGlobal(event->globalPosition().toPoint());
        emit MouseMove(boton, CodigoShift(event->modifiers()), p.x() * 15, p.y() * 15);
    }
}

void Grid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const int fila = rowAt(p.y());
    registrarMouse(fila < 0 ? -1 : fila + fixed_, columnAt(p.x()), event);
    QTableWidget::mouseMoveEvent(event);
}

void Grid::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const int fila = rowAt(p.y());
    registrarMouse(fila < 0 ? -1 : fila + fixed_, columnAt(p.x()), event);
    QTableWidget::mousePressEvent(event);
}

void Grid::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const int fila = rowAt(p.y());
    registrarMouse(fila < 0 ? -1 : fila + fixed_, columnAt(p.x()), event);
    QTableWidget::mouseDoubleClickEvent(event);
    emit DblClick();
}

bool Grid::eventFilter(QObject* objeto, QEvent* event) {
    if (objeto == horizontalHeader()->viewport() &&
        (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress)) {
        auto* raton = static_cast<QMouseEvent*>(event);
        registrarMouse(fixed_ > 0 ? 0 : -1,
                       horizontalHeader()->logicalIndexAt(raton->position().toPoint()), raton);
    }
    return QTableWidget::eventFilter(objeto, event);
}

int Grid::MouseRow() const {
    return mouseRow_;
}

int Grid::MouseCol() const {
    return mouseCol_;
}

// ---- widths ----

int Grid::ColWidth(int col) const {
    return columnWidth(col) * 15;
}

void Grid::setColWidth(int col, int twips) {
    setColumnWidth(col, qMax(0, twips / 15));
    Ensanchar(col, 0, updatesEnabled() ? Rows() - 1 : 0);
}

void Grid::setColHidden(int col, bool oculta) {
    setColumnHidden(col, oculta);
}

void Grid::AutoSize(int col1, int col2) {
    for (int c = qMax(col1, 0); c <= col2 && c < columnCount(); ++c) resizeColumnToContents(c);
}

}  // namespace zul
