#include "app/SelEmpresa.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "common/Formato.h"
#include "common/Globales.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"

namespace zul {

SelEmpresa::SelEmpresa(QWidget* parent) : QWidget(parent) {
    setObjectName("SelEmpresa");
    setFont(FuenteVentana());
    setWindowTitle(QStringLiteral("Selección de Empresa"));
    setAttribute(Qt::WA_DeleteOnClose);

    Grilla = new Grid(this);
    Grilla->setObjectName("Grilla");
    Grilla->setFont(FuenteVentana());
    Grilla->setFixedRows(0);
    Grilla->setCols(3);
    Grilla->setColKey(0, "Seleccion");
    Grilla->setColKey(1, "codigo");
    Grilla->setColKey(2, "nombre");
    Grilla->setColWidth(0, 255);
    Grilla->setColWidth(1, 960);
    Grilla->setColHidden(1, true);
    Grilla->setColWidth(2, 4245);
    Grilla->horizontalHeader()->setStretchLastSection(true);
    Grilla->setSelectionMode(QAbstractItemView::SingleSelection);
    Grilla->setMinimumSize(Twips(4800), Twips(3600));
    // Marking the company switches the display off; the grid shows itself again on focus.
    connect(Grilla, &Grid::GotFocus, Grilla, [this] { Grilla->setRedraw(true); });

    bnuevo = new QPushButton(QStringLiteral("&Seleccionar"), this);
    bnuevo->setObjectName("bnuevo");
    bSalir = new QPushButton(QStringLiteral("&Salir"), this);
    bSalir->setObjectName("bSalir");
    connect(bnuevo, &QPushButton::clicked, this, &SelEmpresa::bnuevo_Click);
    connect(bSalir, &QPushButton::clicked, this, &SelEmpresa::bSalir_Click);

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(bnuevo);
    botones->addWidget(bSalir);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Grilla);
    layout->addLayout(botones);

    Form_Load();
}

void SelEmpresa::Form_Load() {
    adjustSize();
    Centrar(this);
    ColCodigo = static_cast<qint16>(Grilla->ColIndex("codigo"));
    ColNombre = static_cast<qint16>(Grilla->ColIndex("nombre"));
    CargarEmpresas();
    AjustarAncho();
}

void SelEmpresa::AjustarAncho() {
    int columnas = 0;
    for (int c = 0; c < Grilla->Cols(); ++c)
        if (!Grilla->isColumnHidden(c)) columnas += Grilla->columnWidth(c);
    // Room for the vertical scroll bar of a long list, so that it never covers the names.
    const int lista = columnas + 2 * Grilla->frameWidth() +
                      Grilla->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Grilla);
    const QMargins m = layout()->contentsMargins();
    const int cabe = AnchoMaximoVentana(this) - m.left() - m.right();
    if (lista <= Grilla->minimumWidth()) return;
    Grilla->setMinimumWidth(std::min(lista, cabe));
    adjustSize();
    Centrar(this);
}

void SelEmpresa::Form_Activate() {
    MarcarEmpresaActual();
}

bool SelEmpresa::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Form_Activate();
    // Inside the main window's frame, activation is the frame's: follow it.
    if (event->type() == QEvent::ParentChange)
        if (auto* marco = qobject_cast<QMdiSubWindow*>(parentWidget()))
            connect(marco, &QMdiSubWindow::windowStateChanged, this, &SelEmpresa::marcoCambiado,
                    Qt::UniqueConnection);
    return QWidget::event(event);
}

void SelEmpresa::marcoCambiado(Qt::WindowStates antes, Qt::WindowStates ahora) {
    if ((ahora & Qt::WindowActive) && !(antes & Qt::WindowActive)) Form_Activate();
}

void SelEmpresa::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Form_Activate();
}

void SelEmpresa::CargarEmpresas() {
    try {
        Database& db = Database::open(RutaBase);
        Recordset rs = db.openRecordset("SELECT * FROM Empresa  where emp_Id>0 ");
        if (rs.vacio()) return;
        Grilla->setRows(0);
        for (; !rs.eof(); rs.moveNext()) {
            Grilla->AddItem(QString());
            const int r = Grilla->Rows() - 1;
            const QString numero = FormatoNulo(rs.value("emp_id"), 3);
            Grilla->setTextMatrix(r, ColCodigo, numero);
            // Numbers line up on the right up to two digits; longer ones get no blanks.
            const int blancos = 5 - 2 * static_cast<int>(numero.size());
            Grilla->setTextMatrix(r, ColNombre,
                                  QString(qMax(blancos, 0), QLatin1Char(' ')) + numero + " - " +
                                      FormatoNulo(rs.value("Emp_Nombre"), 3));
        }
    } catch (const DatabaseError& e) {
        MsgBox(TextoError(e.numero(), e.descripcion()));
    }
}

void SelEmpresa::MarcarEmpresaActual() {
    Grilla->setRedraw(false);
    const int colSeleccion = Grilla->ColIndex("Seleccion");
    Grilla->Select(0, colSeleccion, Grilla->Rows() - 1, colSeleccion);
    Grilla->BorrarTextoSeleccion();
    const int fila = Grilla->FindRow(QString::number(IdEmpresa), 0, Grilla->ColIndex("Codigo"));
    if (fila >= 0) {
        Grilla->setFillStyle(1);
        Grilla->setRow(fila);
        Grilla->setCol(0);
        Grilla->setCellFontBold(true);
        Grilla->setCellForeColor(QColor(0, 0, 250));
        Grilla->setTextoClave(fila, "Seleccion", "->");
        Grilla->setRow(fila);
    } else {
        Grilla->setRow(0);
    }
    // The mark must show right away, not only once the user clicks into the grid.
    Grilla->setRedraw(true);
}

void SelEmpresa::bnuevo_Click() {
    if (VentanasCargadas() > 2) {
        MsgBox(QStringLiteral(
                   "Cierre todas las ventanas del sistema antes de seleccionar una nueva empresa"),
               48, QStringLiteral("Mensaje"));
        return;
    }
    const int fila = Grilla->Row();
    if (fila < 0) return;
    bool esNumero = false;
    const qint32 empresa = Grilla->TextoClave(fila, "Codigo").toInt(&esNumero);
    if (!esNumero) return;  // an empty row: no company to choose
    try {
        Database::open(RutaBase).execute(
            "update empresa set emp_empresanro= " + QString::number(empresa) + " where emp_id=0");
    } catch (const DatabaseError& e) {
        // Not stored, so not chosen: the current company stays as it was.
        MsgBox(TextoError(e.numero(), e.descripcion()));
        return;
    }
    IdEmpresa = empresa;
    MarcarEmpresaActual();
    if (QWidget* principal = VentanaPrincipal())
        principal->setWindowTitle(QStringLiteral("ZUL - Telvaro Declaración Jurada ") +
                                  " - Empresa: " + Grilla->TextoClave(Grilla->Row(), "Nombre"));
}

void SelEmpresa::bSalir_Click() {
    if (auto* marco = qobject_cast<QMdiSubWindow*>(parentWidget()))
        marco->close();
    else
        close();
}

}  // namespace zul
