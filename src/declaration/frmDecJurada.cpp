#include "declaration/frmDecJurada.h"

#include <QApplication>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>
#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>

#include "common/Formato.h"
#include "common/Globales.h"
#include "common/GrillaEdicion.h"
#include "common/Moneda.h"
#include "common/Teclado.h"
#include "declaration/GrabarDDJJ.h"
#include "declaration/InformeDDJJ.h"
#include "lookup/ModConsu.h"
#include "masterdata/frmEmpleados.h"
#include "platform/Database.h"
#include "platform/Grid.h"
#include "platform/MsgBox.h"
#include "platform/Validacion.h"
#include "platform/Ventana.h"

namespace zul {
namespace {

constexpr int kCantidadTextos = 21;
constexpr int kF2 = 113;
constexpr int kF4 = 115;
const QString kTipoIncompatible = QStringLiteral("No coinciden los tipos");
const QString kDesborde = QStringLiteral(
    "Los importes son demasiado grandes: los totales de la Declaración Jurada no pueden "
    "calcularse. Revise la cuota societaria y los sueldos.");
const QString kCargaIncompleta = QStringLiteral(
    "No se pudieron leer todos los datos del período: la Declaración Jurada no puede grabarse "
    "así. Revise la base de datos y vuelva a ingresar el período.");

struct Columna {
    const char* clave;
    const char* titulo;
    int ancho;
    Grid::Alineacion alineacion = Grid::alineacionIzquierda;
    bool casilla = false;  // yes/no
};

constexpr auto kGeneral = Grid::alineacionGeneral;
constexpr auto kCentro = Grid::alineacionCentro;
constexpr auto kIzquierda = Grid::alineacionIzquierda;

// The fee (16) and the cap (17) as the totals use them and the save stores them: 0 for an
// empty box, nothing for a text the amount reader refuses.
std::optional<Moneda> ImporteDeCaja(const QLineEdit* caja) {
    if (caja->text().trimmed().isEmpty()) return Moneda();
    return Moneda::desdeImporte(caja->text());
}

QString RechazoDeCaja(const QLineEdit* caja, int indice) {
    if (!ImporteCabe(caja->text())) return MensajeImporteExcedido();
    return (indice == 16 ? QStringLiteral("La cuota societaria")
                         : QStringLiteral("El tope de aportes")) +
           QStringLiteral(" no es un importe: escríbalo con cifras, como 1234,50 o 1.234,50");
}

// Active employees.
const Columna kColumnasGrilla[] = {
    {"Codigo", "Código", 630},
    {"Nombre", "Apellido y Nombres", 3195},
    {"FechaNac", "Fecha Nac", 990},
    {"Cuil", "CUIL", 1605},
    {"FechaIng", "Fecha Ing.", 1020},
    {"Categoria", "Categoría", 3705},
    {"Sueldo", "Sueldo", 945},
    {"remunera", "Remunerativo", 1305, kGeneral},
    {"noremunera", "No Remunerativo", 1395, kGeneral},
    {"Aporte2", "2 %", 495, kIzquierda, true},
    {"AporteFarmacia", "2,5", 495, kIzquierda, true},
    {"AporteAmec", "1 %", 495, kIzquierda, true},
    {"IdCatego", "IdCatego", 960, kGeneral},
    {"afiliado", "Afil.", 705, kCentro, true},
    {"CuotaSoc", "C.S.", 705, kGeneral, true},
    {"prestamo", "Préstamo", 960, kGeneral},
};

// Leavers.
const Columna kColumnasGrilla2[] = {
    {"Codigo", "Código", 705},
    {"Nombre", "Apellido y Nombres", 3045},
    {"Cuil", "CUIL", 1200},
    {"FechaIng", "Fecha Ing.", 1020},
    {"FechaEgreso", "Fecha Egreso", 1095},
    {"Categoria", "Categoría", 3705},
    {"IdCatego", "IdCatego", 960, kGeneral},
    {"Sueldo", "Sueldo", 945},
};

template <std::size_t N>
void PrepararGrilla(Grid* grilla, const Columna (&columnas)[N]) {
    QStringList titulos;
    for (const Columna& c : columnas) titulos << QString::fromUtf8(c.titulo);
    grilla->setFormatString(titulos.join('|'));
    grilla->setFont(FuenteVentana());
    for (int i = 0; i < int(N); ++i) {
        grilla->setColKey(i, QString::fromUtf8(columnas[i].clave));
        grilla->setColWidth(i, columnas[i].ancho);
        grilla->setColAlignment(i, columnas[i].alineacion);
        grilla->setColCasilla(i, columnas[i].casilla);
    }
    grilla->setRows(1);
}

bool FocoEn(const QWidget* w) {
    const QWidget* f = QApplication::focusWidget();
    return f && (f == w || w->isAncestorOf(f));
}

// A field found by name once and read by position row after row: thousands of rows are read.
// One the query lacks reads as the recordset reads it by name (an error).
class Campo {
  public:
    Campo(const Recordset& rs, const char* nombre)
        : rs_(rs), nombre_(QString::fromLatin1(nombre)), indice_(rs.fieldIndex(nombre_)) {}
    QVariant operator()() const { return indice_ < 0 ? rs_.value(nombre_) : rs_.value(indice_); }
    bool verdadero() const { return indice_ < 0 ? rs_.boolValue(nombre_) : rs_.boolValue(indice_); }

  private:
    const Recordset& rs_;
    QString nombre_;
    int indice_;
};

QString Bandera(const Campo& campo) {
    return campo.verdadero() ? QStringLiteral("1") : QStringLiteral("0");
}

// A cell's number. The grids hold the program's own number texts ("1", "1000,5", "-3"), read
// here without the general parser, which costs too much over thousands of cells; any other
// text goes through it.
std::optional<double> NumeroCelda(const QString& t) {
    // The digits in C form ("-1000.5") on the stack.
    QVarLengthArray<char, 32> c;
    int coma = -1;
    bool simple = !t.isEmpty();
    for (int i = 0; i < t.size() && simple; ++i) {
        const char16_t ch = t[i].unicode();
        if (ch >= '0' && ch <= '9') {
            c.append(char(ch));
        } else if (ch == ',' && coma < 0 && i > 0 && i + 1 < t.size()) {
            coma = i;
            c.append('.');
        } else if (ch == '-' && i == 0 && t.size() > 1) {
            c.append('-');
        } else {
            simple = false;
        }
    }
    if (simple) {
        double n = 0;
        const auto r = std::from_chars(c.cbegin(), c.cend(), n);
        if (r.ec == std::errc() && r.ptr == c.cend()) return n;
        // Beyond what a double holds: as the general conversion of C numbers reads it.
        QString texto = t;
        if (coma >= 0) texto[coma] = '.';
        bool ok = false;
        n = texto.toDouble(&ok);
        if (ok) return n;
    }
    if (!EsNumero(t)) return std::nullopt;
    return LeerNumero(t);
}

void MostrarError(const DatabaseError& e) {
    MsgBox(TextoError(e.numero(), e.descripcion()));
}

}  // namespace

frmDecJurada::frmDecJurada(QWidget* parent) : QWidget(parent) {
    setObjectName("frmDecJurada");
    setAttribute(Qt::WA_DeleteOnClose);
    ArmarVentana();
    Form_Load();
    // The clerk starts with the period.
    mskPeriodo_->setFocus();
}

frmDecJurada::~frmDecJurada() {
    // Closing hides the controls and commits an open cell editor: none of that may reach the
    // handlers of a window that is going away.
    delete validacion_;
    Grilla_->disconnect(this);
    Grilla2_->disconnect(this);
}

void frmDecJurada::ArmarVentana() {
    setWindowTitle(QStringLiteral("Declaración Jurada"));
    setFont(FuenteVentana());
    QPalette fondo = palette();
    fondo.setColor(QPalette::Window, QColor(241, 244, 250));
    setPalette(fondo);
    setAutoFillBackground(true);

    texto_.resize(kCantidadTextos);
    Label1_.resize(kCantidadTextos);
    for (int i = 0; i < kCantidadTextos; ++i) {
        texto_[i] = new QLineEdit(this);
        texto_[i]->setObjectName(QStringLiteral("texto_%1").arg(i));
    }
    auto etiqueta = [this](int indice, const QString& titulo) {
        auto* l = new QLabel(titulo, this);
        l->setObjectName(QStringLiteral("Label1_%1").arg(indice));
        Label1_[indice] = l;
        return l;
    };

    // Company and the firm's destination address: display only.
    auto* Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    auto* g1 = new QGridLayout(Frame1);
    const QList<QPair<int, QString>> empresa = {{0, "Razón Social:"}, {1, "Domicilio:"},
                                                {2, "Localidad:"},    {3, "C.U.I.T Nº:"},
                                                {4, "Teléfono:"},     {20, "Destino E-Mail:"}};
    for (int k = 0; k < empresa.size(); ++k) {
        const int i = empresa[k].first;
        // One per line: names and addresses run long.
        g1->addWidget(etiqueta(i, empresa[k].second), k, 0);
        g1->addWidget(texto_[i], k, 1);
        texto_[i]->setReadOnly(true);
        // Read with a click, never a Tab stop.
        texto_[i]->setFocusPolicy(Qt::ClickFocus);
        texto_[i]->setStyleSheet(QStringLiteral(
            "QLineEdit { color: rgb(0,0,192); background: rgb(244,244,244); font-weight: bold; }"));
    }

    // The declaration's own data.
    auto* Frame2 = new QGroupBox(QStringLiteral("Declaración Jurada"), this);
    Frame2->setObjectName("Frame2");
    auto* g2 = new QGridLayout(Frame2);
    mskPeriodo_ = new QLineEdit(this);
    mskPeriodo_->setObjectName("mskPeriodo");
    mskPeriodo_->setInputMask(QStringLiteral("99/9999;_"));
    auto* lblPeriodo = new QLabel(QStringLiteral("Período:"), this);
    lblPeriodo->setObjectName("lblPeriodo");
    auto* Label2 = new QLabel(QStringLiteral("F2: Consulta"), this);
    Label2->setObjectName("Label2");
    g2->addWidget(lblPeriodo, 0, 0);
    g2->addWidget(mskPeriodo_, 0, 1);
    g2->addWidget(Label2, 0, 2);
    const QList<QPair<int, QString>> datos = {
        {14, "Vencimiento:"}, {15, "Nº Inscripción:"}, {16, "Cuota $:"}, {17, "Tope Aportes $:"}};
    for (int k = 0; k < datos.size(); ++k) {
        g2->addWidget(etiqueta(datos[k].first, datos[k].second), k + 1, 0);
        g2->addWidget(texto_[datos[k].first], k + 1, 1);
    }
    texto_[14]->setProperty("Tag", ",8");
    texto_[13]->setProperty("Tag", ",8");
    texto_[16]->setText(QStringLiteral("10"));
    // The cap only shows the stored cap of a saved declaration.
    texto_[17]->setEnabled(false);
    texto_[13]->setReadOnly(true);
    texto_[13]->setVisible(false);
    texto_[13]->setMaximumWidth(20);
    g2->addWidget(texto_[13], 5, 2);

    // Totals.
    auto* Frame5 = new QGroupBox(this);
    Frame5->setObjectName("Frame5");
    auto* g5 = new QGridLayout(Frame5);
    const QList<QPair<int, QString>> totales = {
        {5, "Cant. Empleados"},    {6, "Total Remuneraciones"}, {7, "Mes y Año del Depósito"},
        {8, "2% Remuneraciones"},  {9, "2,5 Farmacia y Otros"}, {18, "3% Remuneraciones"},
        {10, "1% Remuneraciones"}, {11, "Cuota Societaria"},    {19, "Préstamos"},
        {12, "Total a Depositar"}};
    for (int k = 0; k < totales.size(); ++k) {
        const int i = totales[k].first;
        const int fila = (k / 5) * 2;
        g5->addWidget(etiqueta(i, totales[k].second), fila, k % 5);
        g5->addWidget(texto_[i], fila + 1, k % 5);
        texto_[i]->setReadOnly(true);
        texto_[i]->setFocusPolicy(Qt::ClickFocus);
        texto_[i]->setStyleSheet(
            i == 12
                ? QStringLiteral("QLineEdit { background: rgb(227,242,253); font-weight: bold; }")
                : QStringLiteral(
                      "QLineEdit { color: rgb(255,0,0); background: rgb(224,224,224); }"));
    }

    auto* Frame3 = new QGroupBox(QStringLiteral("Datos del Personal"), this);
    Frame3->setObjectName("Frame3");
    Grilla_ = new Grid(Frame3);
    Grilla_->setObjectName("Grilla");
    PrepararGrilla(Grilla_, kColumnasGrilla);
    Grilla_->setColHidden(Grilla_->ColIndex("IdCatego"), true);
    (new QVBoxLayout(Frame3))->addWidget(Grilla_);

    auto* Frame4 = new QGroupBox(
        QStringLiteral("Bajas del personal posteriores a la fecha de la DDJJ anterior"), this);
    Frame4->setObjectName("Frame4");
    Grilla2_ = new Grid(Frame4);
    Grilla2_->setObjectName("Grilla2");
    PrepararGrilla(Grilla2_, kColumnasGrilla2);
    Grilla2_->setColHidden(Grilla2_->ColIndex("IdCatego"), true);
    Grilla2_->setColEditable(0, true);
    Grilla2_->setColEditable(4, true);
    Grilla2_->setColEditMask(4, QStringLiteral("99/99/9999;_"));
    (new QVBoxLayout(Frame4))->addWidget(Grilla2_);

    auto boton = [this](const char* nombre, const QString& cara, const QString& ayuda) {
        auto* b = new QPushButton(cara, this);
        b->setObjectName(QString::fromLatin1(nombre));
        if (!ayuda.isEmpty()) b->setToolTip(ayuda);
        return b;
    };
    btnGrabar_ = boton("btnGrabar", "&Grabar", QString());
    btnEliminar_ = boton("btnEliminar", "&Eliminar", QString());
    btnImprimir_ = boton("btnImprimir", QString(), "Imprime declaración jurada");
    btnEmpleados_ = boton("btnEmpleados", QString(), "Alta de Empleado");
    btnEMail_ = boton("btnEMail", QString(), "Enviar declaración jurada");
    btnCancelar_ = boton("btnCancelar", "&Cancelar", QString());
    btnSalir_ = boton("btnSalir", "&Salir", QString());
    btnImprimir_->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    btnEmpleados_->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    btnEMail_->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    btnGrabar_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    btnEliminar_->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    btnCancelar_->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    btnSalir_->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    auto* botones = new QHBoxLayout;
    for (QPushButton* b : {btnGrabar_, btnEliminar_, btnImprimir_, btnEmpleados_, btnEMail_,
                           btnCancelar_, btnSalir_})
        botones->addWidget(b);

    auto* arriba = new QHBoxLayout;
    arriba->addWidget(Frame1, 3);
    arriba->addWidget(Frame2, 2);
    auto* principal = new QVBoxLayout(this);
    principal->addLayout(arriba);
    principal->addWidget(Frame5);
    principal->addWidget(Frame3, 3);
    principal->addWidget(Frame4, 1);
    principal->addLayout(botones);
    // The boxes stand close together, as the form was drawn, so that the window fits the work
    // area of a small screen and leaves its lists the rest.
    for (QGridLayout* g : {g1, g2, g5}) {
        g->setContentsMargins(6, 6, 6, 6);
        g->setVerticalSpacing(2);
    }
    for (QLayout* l : {Frame3->layout(), Frame4->layout(), static_cast<QLayout*>(principal)}) {
        l->setContentsMargins(6, 6, 6, 6);
        l->setSpacing(4);
    }
    resize(Twips(14000), Twips(9500));

    // Tab as the screen reads, from the period down to the buttons.
    QWidget* anterior = nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{
             mskPeriodo_, texto_[14], texto_[15], texto_[16], texto_[17], Grilla_, Grilla2_,
             btnGrabar_, btnEliminar_, btnImprimir_, btnEmpleados_, btnEMail_, btnCancelar_,
             btnSalir_}) {
        if (anterior) setTabOrder(anterior, w);
        anterior = w;
    }

    // Keyboard: Enter and Esc move on (out of the employees' list too), dates are typed into
    // their template, F2 looks up.
    InstalarTeclaEnter(mskPeriodo_);
    InstalarCajaFija(mskPeriodo_);
    InstalarTeclaEnter(Grilla_);
    for (int i = 0; i < kCantidadTextos; ++i) {
        if (i == 13 || i == 14)
            InstalarCajaFecha(texto_[i], sinPlantilla);
        else
            InstalarTeclaEnter(texto_[i]);
        texto_[i]->installEventFilter(this);
    }
    mskPeriodo_->installEventFilter(this);

    ReportControl::de(this);  // rpt1

    validacion_ = new Validacion(this);
    validacion_->registrar(mskPeriodo_, [this] { return mskPeriodo_Validate(); });
    validacion_->registrar(texto_[16], [this] { return texto_Validate(16); });
    validacion_->registrar(texto_[17], [this] { return texto_Validate(17); });
    validacion_->accion(btnGrabar_, [this] { btnGrabar_Click(); });
    validacion_->accion(btnEliminar_, [this] { btnEliminar_Click(); });
    validacion_->accion(btnImprimir_, [this] { btnImprimir_Click(); });
    validacion_->accion(btnEMail_, [this] { btnEMail_Click(); });
    validacion_->accion(btnEmpleados_, [this] { btnEmpleados_Click(); });
    validacion_->accion(btnCancelar_, [this] { btnCancelar_Click(); });
    validacion_->accion(btnSalir_, [this] { btnSalir_Click(); });

    connect(Grilla_, &Grid::BeforeEdit, this, [](int, int, bool& cancelar) { cancelar = true; });
    connect(Grilla2_, &Grid::BeforeEdit, this,
            [](int, int col, bool& cancelar) { cancelar = col != 0 && col != 4; });
    connect(Grilla2_, &Grid::EnterCell, this, [this] { Grilla2_EnterCell(); });
    connect(Grilla2_, &Grid::AfterEdit, this, [this](int f, int c) { Grilla2_AfterEdit(f, c); });
    connect(Grilla2_, &Grid::KeyDownGrid, this,
            [this](int& keyCode, int shift) { Grilla2_KeyDown(keyCode, shift); });
}

bool frmDecJurada::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == mskPeriodo_ && evento->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(evento)->key() == Qt::Key_F2) {
            mskPeriodo_KeyDown(kF2);
            return true;
        }
    } else if (evento->type() == QEvent::FocusIn || evento->type() == QEvent::FocusOut) {
        const int i = texto_.indexOf(static_cast<QLineEdit*>(objeto));
        const Qt::FocusReason razon = static_cast<QFocusEvent*>(evento)->reason();
        const bool deVentana =
            razon == Qt::ActiveWindowFocusReason || razon == Qt::PopupFocusReason;
        if (evento->type() == QEvent::FocusOut) {
            cajaSinSalir_ = deVentana ? i : -1;
        } else if (i >= 0) {
            // Coming back to the window (or from a menu) to the box that had the focus is no
            // entry: the due date the user typed must not be proposed over.
            const bool volvio = deVentana && i == cajaSinSalir_;
            cajaSinSalir_ = -1;
            if (!volvio) texto_GotFocus(i);
        }
    }
    return QWidget::eventFilter(objeto, evento);
}

QString frmDecJurada::Periodo() const {
    return mskPeriodo_->displayText();
}

// ---- loading and the period ----

void frmDecJurada::Form_Load() {
    Centrar(this);
    try {
        Database& db = Database::open(RutaBase);
        Recordset rs =
            db.openRecordset("SELECT * FROM Empresa where emp_id=" + QString::number(IdEmpresa));
        Recordset firma = db.openRecordset(QStringLiteral("SELECT * FROM Empresa where emp_id=0"));
        if (!rs.vacio()) {
            texto_[0]->setText(FormatoNulo(rs.value("Emp_Nombre"), 3));
            texto_[1]->setText(FormatoNulo(rs.value("Emp_Domicilio"), 3));
            texto_[2]->setText(FormatoNulo(rs.value("Emp_Localidad"), 3));
            texto_[3]->setText(FormatoNulo(rs.value("Emp_CUIT"), 3));
            texto_[4]->setText(FormatoNulo(rs.value("Emp_Telefono"), 3));
            texto_[20]->setText(firma.vacio() ? QString()
                                              : FormatoNulo(firma.value("emp_emaild"), 3));
            btnGrabar_->setEnabled(true);
        } else {
            btnGrabar_->setEnabled(false);
        }
    } catch (const DatabaseError& e) {
        MostrarError(e);
    }
    mskPeriodo_->setText(QDate::currentDate().toString(QStringLiteral("MM/yyyy")));
    mskPeriodo_Validate();
}

QString frmDecJurada::ConsultaEmpleadosNueva(qint32 idEmpresa) {
    return "select ado_Sueldo as Sueldo,ado_Afiliado as Afiliado, Ado_Categoria as IdCatego, "
           "Ado_Aporte2 as Aporte2, Ado_Aporte25 as AporteFar,Ado_Aporte1 as Amec, Ado_AporteCS "
           "as Cuota,* from empleado, categoria where  cat_id= ado_categoria and ado_fechaegreso "
           "is null and ado_idempresa=" +
           QString::number(idEmpresa);
}

QString frmDecJurada::ConsultaBajasNueva(qint32 idEmpresa) {
    const QString e = QString::number(idEmpresa);
    return "select ado_Sueldo as Sueldo, Ado_Categoria as IdCatego, * From empleado, categoria "
           "where cat_id=ado_categoria and  not Ado_FechaEgreso is null and ado_idempresa=" +
           e + " and ado_id not in (select Baj_Empleado from bajas where baj_idempresa=" + e + ")";
}

QString frmDecJurada::ConsultaEmpleadosGrabada(const QString& idDDJJ, qint32 idEmpresa) {
    return QStringLiteral(
               "select ExD_Sueldo as Sueldo, ExD_Afiliado as Afiliado,ExD_Aporte2 as Aporte2, "
               "ExD_AporteFar as AporteFar, ExD_Cuota as Cuota, ExD_AporteAmec as Amec, "
               "ExD_IdCatego as IdCatego, ") +
           "* from EmpleadoXDDJJ, empleado, categoria where ExD_IdEmpleado=ado_id and "
           "ado_categoria= cat_id and ExD_IdDDJJ= " +
           idDDJJ +
           " and ExD_IdEmpresa=ado_idempresa and ExD_IdEmpresa=" + QString::number(idEmpresa);
}

QString frmDecJurada::ConsultaCuotasDelMes(qint32 idEmpresa, int mes, int anio) {
    return "select pcu_idempleado, sum(pcu_importe) as prestamo from PrestamoCuota where "
           "month(pcu_fechaven)=" +
           QString::number(mes) + " and year(pcu_fechaven)=" + QString::number(anio) +
           " and pcu_idempresa=" + QString::number(idEmpresa) + " group by pcu_idempleado";
}

QString frmDecJurada::ConsultaBajasGrabada(const QString& idDDJJ) {
    return "select Baj_Sueldo as Sueldo, Baj_IdCatego as IdCatego, * from Bajas, empleado, "
           "categoria where Baj_Empleado=ado_id and Baj_idempresa=ado_idempresa and "
           "ado_categoria= cat_id and Baj_DDJJ= " +
           idDDJJ;
}

bool frmDecJurada::mskPeriodo_Validate() {
    const QString p = "01/" + Periodo();
    if (!EsFecha(p)) return true;
    QString danada;  // said once the file is free again
    try {
        Database& db = Database::open(RutaBase);
        // One read of the file for the declaration and its thousands of small queries.
        Lectura lectura(db);
        Recordset rsDDJJ =
            db.openRecordset("SELECT * FROM DDJJ where DDJJ_Periodo= " + FormatoSQL(p, 4) +
                             " and ddjj_idempresa=" + QString::number(IdEmpresa));
        if (!rsDDJJ.vacio()) {
            IdDDJJ_ = static_cast<qint32>(LeerNumero(FormatoNulo(rsDDJJ.value("ddjj_id"), 1)));
            texto_[14]->setText(FormatoNulo(rsDDJJ.value("DDJJ_Vencimiento"), 4));
            texto_[15]->setText(FormatoNulo(rsDDJJ.value("DDJJ_NroIns"), 1));
            const QString id = FormatoSQL(rsDDJJ.value("DDJJ_Id"), 1);
            cargaIncompleta_ = false;
            CargarEmpleados(ConsultaEmpleadosGrabada(id, IdEmpresa), false);
            CargarEmpBaja(ConsultaBajasGrabada(id));
            const QList<QPair<int, const char*>> guardados = {
                {5, "DDJJ_CantEmp"},  {6, "DDJJ_TotalRemu"},   {8, "DDJJ_2Remu"},
                {9, "DDJJ_Farmacia"}, {10, "DDJJ_Amec"},       {11, "DDJJ_Cuota"},
                {12, "DDJJ_Total"},   {16, "DDJJ_ValorCuota"}, {17, "DDJJ_Tope"},
                {18, "DDJJ_Amec3"},   {19, "DDJJ_Prestamo"}};
            for (const auto& [i, campo] : guardados)
                texto_[i]->setText(FormatoNulo(rsDDJJ.value(QString::fromLatin1(campo)), 1));
            danada = DDJJDanada(db, IdDDJJ_, IdEmpresa);
            btnGrabar_->setEnabled(false);
            btnEliminar_->setEnabled(true);
        } else {
            // A due date on screen belongs to the month loaded before: another month gets its own.
            if (Periodo() != texto_[7]->text()) texto_[14]->clear();
            cargaIncompleta_ = false;
            CargarEmpleados(ConsultaEmpleadosNueva(IdEmpresa), true);
            CargarEmpBaja(ConsultaBajasNueva(IdEmpresa));
            btnGrabar_->setEnabled(true);
            btnEliminar_->setEnabled(false);
            IdDDJJ_ = 0;
        }
    } catch (const DatabaseError& e) {
        // The window still shows the month before: not to be saved as the month typed.
        MostrarError(e);
        cargaIncompleta_ = true;
        periodoSinCargar_ = true;
        return true;
    }
    periodoSinCargar_ = false;
    texto_[7]->setText(Periodo());
    Calcular();
    if (!danada.isEmpty()) MsgBox(danada, 48);
    return true;
}

void frmDecJurada::mskPeriodo_KeyDown(int keyCode) {
    if (keyCode != kF2) return;
    NuevaConsulta(
        "SELECT month(DDJJ_Periodo) as Mes, year(DDJJ_Periodo) as Año,DDJJ_Periodo  "
        "FROM DDJJ where  ddjj_IdEmpresa=" +
            QString::number(IdEmpresa),
        "DDJJ_Periodo", "Consulta de DDJJ", "Mes/Año/Período", 3,
        {{QStringLiteral("DDJJ_Periodo"), texto_[13]}});
    if (!texto_[13]->text().isEmpty()) {
        if (const auto d = LeerFecha(texto_[13]->text()))
            mskPeriodo_->setText(d->toString(QStringLiteral("MM/yyyy")));
    }
}

QString frmDecJurada::VencimientoPropuesto(const QString& periodo) {
    const QString mes = periodo.left(2);
    const QString anio = periodo.mid(3);
    if (!EsNumero(mes) || !EsNumero(anio)) return QString();
    int m = static_cast<int>(LeerNumero(mes)) + 1;
    int a = static_cast<int>(LeerNumero(anio));
    if (m > 12) {
        m = 1;
        ++a;
    }
    return QStringLiteral("10/%1/%2").arg(m, 2, 10, QChar('0')).arg(a);
}

void frmDecJurada::texto_GotFocus(int indice) {
    QLineEdit* caja = texto_[indice];
    const QString tipo = ItemLista(caja->property("Tag").toString(), 2);
    // A date typed or stored is the clerk's: only an empty box gets one proposed.
    const bool sinFecha = std::none_of(caja->text().cbegin(), caja->text().cend(),
                                       [](QChar c) { return c.isDigit(); });
    if ((tipo == "4" || tipo == "8") && sinFecha) {
        if (indice == 14) {
            const QString vence = VencimientoPropuesto(Periodo());
            if (!vence.isEmpty()) {
                caja->setText(vence);
            } else {
                MsgBox(QStringLiteral("Debe ingresar el período!"), 48);
                EnfocarParaEscribir(mskPeriodo_);
            }
        } else {
            caja->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
        }
    }
    caja->setSelection(0, caja->text().size());
}

// ---- grids ----

void frmDecJurada::CargarEmpleados(const QString& sql, bool calcularPrestamos) {
    quitados_.clear();
    Grilla_->setRedraw(false);
    Grilla_->setRows(1);
    int filas = 0;  // rows written
    try {
        Database& db = Database::open(RutaBase);
        Recordset rs = db.openRecordset(sql);
        // The month's instalments of every employee, read at once.
        QHash<double, QVariant> cuotas;
        bool prestamosLeidos = true;
        if (calcularPrestamos && !rs.vacio()) {
            const auto d = LeerFecha("01/" + Periodo());
            try {
                Recordset rc = db.openRecordset(
                    ConsultaCuotasDelMes(IdEmpresa, d ? d->month() : 0, d ? d->year() : 0));
                const int empleado = rc.fieldIndex(QStringLiteral("pcu_idempleado"));
                const int prestamo = rc.fieldIndex(QStringLiteral("prestamo"));
                for (; !rc.eof(); rc.moveNext()) {
                    // Only a stored number equals an employee's code.
                    const QVariant codigo = rc.value(empleado);
                    if (codigo.typeId() == QMetaType::LongLong ||
                        codigo.typeId() == QMetaType::Double)
                        cuotas.insert(codigo.toDouble(), rc.value(prestamo));
                }
            } catch (const DatabaseError& e) {
                // Unreadable instalments leave the loan cells empty: the employees stay listed.
                MsgBox("Error Nro.:" + e.descripcion());
                prestamosLeidos = false;
                cargaIncompleta_ = true;
            }
        }
        int c[16];
        for (int i = 0; i < 16; ++i)
            c[i] = Grilla_->ColIndex(QString::fromUtf8(kColumnasGrilla[i].clave));
        const Campo id(rs, "ado_Id"), nombre(rs, "ado_nombre"), nacimiento(rs, "Ado_FechaNac"),
            cuil(rs, "Ado_Cuil"), ingreso(rs, "Ado_FechaIng"), categoria(rs, "cat_nombre"),
            idCatego(rs, "IdCatego"), sueldo(rs, "Sueldo"), remunera(rs, "ado_Remunera"),
            noRemunera(rs, "ado_NoRemunera"), aporte2(rs, "Aporte2"), afiliado(rs, "Afiliado"),
            farmacia(rs, "AporteFar"), amec(rs, "Amec"), cuota(rs, "Cuota"),
            guardado(rs, "ExD_Prestamo");
        Grilla_->setRows(1 + rs.recordCount());
        for (int fila = 1; !rs.eof(); ++fila, rs.moveNext()) {
            filas = fila;
            Grilla_->setTextMatrix(fila, c[0], FormatoNulo(id(), 1));
            Grilla_->setTextMatrix(fila, c[1], FormatoNulo(nombre(), 3));
            Grilla_->setTextMatrix(fila, c[2], FormatoNulo(nacimiento(), 4));
            Grilla_->setTextMatrix(fila, c[3], FormatoNulo(cuil(), 3));
            Grilla_->setTextMatrix(fila, c[4], FormatoNulo(ingreso(), 4));
            Grilla_->setTextMatrix(fila, c[5], FormatoNulo(categoria(), 3));
            Grilla_->setTextMatrix(fila, c[12], FormatoNulo(idCatego(), 3));
            Grilla_->setTextMatrix(fila, c[6], FormatoNulo(sueldo(), 1));
            Grilla_->setTextMatrix(fila, c[7], FormatoNulo(remunera(), 2));
            Grilla_->setTextMatrix(fila, c[8], FormatoNulo(noRemunera(), 2));
            Grilla_->setTextMatrix(fila, c[9], Bandera(aporte2));
            Grilla_->setTextMatrix(fila, c[13], Bandera(afiliado));
            Grilla_->setTextMatrix(fila, c[10], Bandera(farmacia));
            Grilla_->setTextMatrix(fila, c[11], Bandera(amec));
            Grilla_->setTextMatrix(fila, c[14], Bandera(cuota));
            QString prestamo;
            if (!calcularPrestamos)
                prestamo = FormatoNulo(guardado(), 1);
            else if (prestamosLeidos)
                // The code as the query would have written it: a text is no code, it is 0.
                prestamo = FormatoNulo(cuotas.value(LeerNumero(id())), 1);
            Grilla_->setTextMatrix(fila, c[15], prestamo);
        }
    } catch (const DatabaseError& e) {
        MsgBox("Error Nro.:" + e.descripcion());
        cargaIncompleta_ = true;
        // No empty rows for the records never read.
        Grilla_->setRows(1 + filas);
    }
    // The list always ends with one empty row.
    Grilla_->AddItem(QString());
    Grilla_->setRedraw(true);
}

void frmDecJurada::CargarEmpBaja(const QString& sql) {
    Grilla2_->setRedraw(false);
    Grilla2_->setRows(1);
    int filas = 0;
    try {
        Recordset rs = Database::open(RutaBase).openRecordset(sql);
        int c[8];
        for (int i = 0; i < 8; ++i)
            c[i] = Grilla2_->ColIndex(QString::fromUtf8(kColumnasGrilla2[i].clave));
        const Campo id(rs, "ado_Id"), nombre(rs, "ado_nombre"), cuil(rs, "Ado_Cuil"),
            ingreso(rs, "Ado_FechaIng"), egreso(rs, "Ado_FechaEgreso"), categoria(rs, "cat_nombre"),
            idCatego(rs, "IdCatego"), sueldo(rs, "Sueldo");
        Grilla2_->setRows(1 + rs.recordCount());
        for (int fila = 1; !rs.eof(); ++fila, rs.moveNext()) {
            filas = fila;
            Grilla2_->setTextMatrix(fila, c[0], FormatoNulo(id(), 1));
            Grilla2_->setTextMatrix(fila, c[1], FormatoNulo(nombre(), 3));
            Grilla2_->setTextMatrix(fila, c[2], FormatoNulo(cuil(), 3));
            Grilla2_->setTextMatrix(fila, c[3], FormatoNulo(ingreso(), 4));
            Grilla2_->setTextMatrix(fila, c[4], FormatoNulo(egreso(), 4));
            Grilla2_->setTextMatrix(fila, c[5], FormatoNulo(categoria(), 3));
            Grilla2_->setTextMatrix(fila, c[6], FormatoNulo(idCatego(), 1));
            Grilla2_->setTextMatrix(fila, c[7], FormatoNulo(sueldo(), 1));
        }
    } catch (const DatabaseError& e) {
        MsgBox("Error Nro.:" + e.descripcion());
        cargaIncompleta_ = true;
        Grilla2_->setRows(1 + filas);
    }
    Grilla2_->AddItem(QString());
    Grilla2_->setRedraw(true);
}

// ---- the computation ----

void frmDecJurada::Calcular() {
    desborde_ = false;
    if (!btnGrabar_->isEnabledTo(this)) return;
    // One box per kind of failure and run: a bad fee box must not raise a box per member.
    QSet<QString> avisados;
    auto fallo = [&avisados](const char* que) {
        const QString clave = QString::fromLatin1(que);
        if (avisados.contains(clave)) return;
        avisados.insert(clave);
        MsgBox("Error Nro.:" + kTipoIncompatible);
    };
    const auto numero = NumeroCelda;
    // A failing test goes on inside the branch it guards.
    auto prueba = [&](const std::optional<double>& valor, const char* que, auto condicion) {
        if (!valor) {
            fallo(que);
            return true;
        }
        return static_cast<bool>(condicion(*valor));
    };
    auto sumar = [&](double& acumulado, const std::optional<double>& valor, const char* que,
                     double factor) {
        if (!valor) return fallo(que);
        acumulado = acumulado + *valor * factor / 100;
    };

    int cantidad = 0;
    double sueldos = 0, aporte2 = 0, aporte25 = 0, aporte1 = 0, aporte3 = 0, prestamos = 0;
    Moneda cuotas;
    // A fee or cap refused adds nothing, and the totals it enters are left blank.
    const std::optional<Moneda> cuota = ImporteDeCaja(texto_[16]);
    const std::optional<Moneda> topeLeido = ImporteDeCaja(texto_[17]);
    const double tope = topeLeido.value_or(Moneda()).aDouble();
    // Amounts that leave the range are refused, never wrapped or cut.
    bool desborde = false;
    const auto enMoneda = [&desborde](double v) {
        const auto m = Moneda::convertir(v);
        if (!m) desborde = true;
        return m.value_or(Moneda());
    };
    const auto sumarMoneda = [&desborde](Moneda a, Moneda b) {
        const auto m = a.mas(b);
        if (!m) desborde = true;
        return m.value_or(Moneda());
    };

    // Columns found once: the keys do not move while the rows are read.
    // In the order of the keys below.
    enum Celda {
        kCodigo,
        kSueldo,
        kAporte2,
        kNoRemunera,
        kRemunera,
        kFarmacia,
        kAmec,
        kCuotaSoc,
        kAfiliado,
        kPrestamo
    };
    const char* const claves[] = {"codigo",   "Sueldo",         "Aporte2",    "NoRemunera",
                                  "Remunera", "AporteFarmacia", "AporteAmec", "CuotaSoc",
                                  "afiliado", "prestamo"};
    int columnas[std::size(claves)];
    for (std::size_t i = 0; i < std::size(claves); ++i)
        columnas[i] = Grilla_->ColIndex(QString::fromLatin1(claves[i]));
    const int filas = Grilla_->Rows();
    for (int r = 1; r < filas; ++r) {
        const auto celda = [&](Celda c) { return Grilla_->TextMatrix(r, columnas[c]); };
        if (!numero(celda(kCodigo))) continue;
        ++cantidad;
        // A salary that is not a number (an employee stored without one) counts as 0.
        const double sueldo = numero(celda(kSueldo)).value_or(0.0);
        sueldos += sueldo;
        const auto noRemunera = numero(celda(kNoRemunera));
        const auto remunera = numero(celda(kRemunera));
        if (prueba(numero(celda(kAporte2)), "Aporte2", [](double v) { return v == 1; })) {
            const bool partes = !noRemunera || !remunera || *noRemunera > 0 || *remunera > 0;
            if (!noRemunera || !remunera) fallo("Remunera");
            if (partes) {
                if (noRemunera && remunera)
                    aporte2 = (aporte2 + *noRemunera * 2 / 100) + *remunera * 2 / 100;
                else
                    fallo("Remunera");
            } else {
                aporte2 = aporte2 + sueldo * 2 / 100;
            }
        }
        if (prueba(numero(celda(kFarmacia)), "AporteFarmacia", [](double v) { return v == 1; })) {
            if (prueba(remunera, "Remunera", [](double v) { return v > 0; }))
                sumar(aporte25, remunera, "Remunera", 2.5);
            else
                aporte25 = aporte25 + sueldo * 2.5 / 100;
        }
        if (prueba(numero(celda(kAmec)), "AporteAmec", [](double v) { return v == 1; })) {
            if (prueba(remunera, "Remunera", [](double v) { return v > 0; }))
                sumar(aporte1, remunera, "Remunera", 1);
            else
                aporte1 = aporte1 + sueldo * 1 / 100;
        }
        if (prueba(numero(celda(kCuotaSoc)), "CuotaSoc", [](double v) { return v == 1; }))
            cuotas = sumarMoneda(cuotas, cuota.value_or(Moneda()));
        if (prueba(numero(celda(kAfiliado)), "afiliado", [](double v) { return v == 1; })) {
            double x = sueldo * 3 / 100;
            if (tope < x) x = tope;
            aporte3 = aporte3 + x;
        }
        if (const auto p = numero(celda(kPrestamo))) prestamos = prestamos + *p;
    }

    const Moneda total =
        sumarMoneda(sumarMoneda(sumarMoneda(enMoneda((aporte2 + aporte25) + aporte1), cuotas),
                                enMoneda(aporte3)),
                    enMoneda(prestamos));
    // An amount that cannot be shown truthfully is left blank.
    const auto doble = [&desborde](double v) {
        if (std::isfinite(v)) return TextoNumero(v);
        desborde = true;
        return QString();
    };
    texto_[5]->setText(QString::number(cantidad));
    texto_[6]->setText(doble(sueldos));
    texto_[8]->setText(doble(aporte2));
    texto_[9]->setText(doble(aporte25));
    texto_[10]->setText(doble(aporte1));
    texto_[18]->setText(topeLeido ? doble(aporte3) : QString());
    texto_[11]->setText(desborde || !cuota ? QString() : cuotas.texto());
    texto_[19]->setText(doble(prestamos));
    texto_[12]->setText(desborde || !cuota || !topeLeido ? QString() : total.texto());
    desborde_ = desborde;
    if (desborde) MsgBox(kDesborde, 48);
}

bool frmDecJurada::texto_Validate(int indice) {
    if (indice != 16 && indice != 17) return true;
    QLineEdit* caja = texto_[indice];
    // The fee reads as every money box: 7.5 and 7,5 are seven and a half, 1.234,50 is a
    // thousand and more; the box shows what was read. A text refused stays, to be mended.
    if (caja->text().trimmed().isEmpty()) caja->setText(QStringLiteral("0"));
    caja->setText(ImporteLeido(caja->text()));
    if (!ImporteDeCaja(caja)) MsgBox(RechazoDeCaja(caja, indice), vbExclamation);
    Calcular();
    return true;
}

// ---- leavers ----

namespace {

// Rows whose code reads as the number `codigo`; `ultima` gets the last of them (-1 if none).
int FilasConCodigo(const Grid* grilla, qint64 codigo, int* ultima = nullptr) {
    int cuenta = 0;
    if (ultima) *ultima = -1;
    for (int r = 1; r < grilla->Rows(); ++r) {
        const QString c = grilla->TextoClave(r, "codigo");
        if (!EsNumero(c) || LeerNumero(c) != static_cast<double>(codigo)) continue;
        ++cuenta;
        if (ultima) *ultima = r;
    }
    return cuenta;
}

}  // namespace

bool frmDecJurada::BuscarGrilla2(qint64 codigo) {
    return FilasConCodigo(Grilla2_, codigo) > 1;
}

bool frmDecJurada::BuscarGrilla(qint64 codigo) {
    return FilasConCodigo(Grilla_, codigo) > 1;
}

void frmDecJurada::BorrarGrilla(qint64 codigo) {
    int fila = -1;
    FilasConCodigo(Grilla_, codigo, &fila);
    if (fila < 0) return;
    QStringList celdas;
    for (int c = 0; c < Grilla_->Cols(); ++c) celdas << Grilla_->TextMatrix(fila, c);
    quitados_.insert(codigo, celdas);
    Grilla_->RemoveItem(fila);
}

bool frmDecJurada::ReponerEmpleados() {
    bool repuso = false;
    for (auto it = quitados_.begin(); it != quitados_.end();) {
        bool listado = false;
        for (int r = 1; r < Grilla2_->Rows() && !listado; ++r) {
            const auto c = Entero32(Grilla2_->TextoClave(r, "codigo"));
            listado = c && *c == it.key();
        }
        if (listado) {
            ++it;
            continue;
        }
        // Back above the empty row that ends the list.
        int posicion = Grilla_->Rows();
        if (posicion > 1 && Grilla_->TextoClave(posicion - 1, "codigo").isEmpty()) --posicion;
        Grilla_->AddItem(QString(), posicion);
        for (int c = 0; c < it.value().size() && c < Grilla_->Cols(); ++c)
            Grilla_->setTextMatrix(posicion, c, it.value()[c]);
        it = quitados_.erase(it);
        repuso = true;
    }
    return repuso;
}

void frmDecJurada::Grilla2_EnterCell() {
    // Only while the user works in the list: loading it must not open editors.
    if (!FocoEn(Grilla2_)) return;
    Grilla2_->EditCell();
    Grilla2_->setEditSelStart(0);
    Grilla2_->setEditSelLength(Grilla2_->TextMatrix(Grilla2_->Row(), Grilla2_->Col()).size());
}

void frmDecJurada::Grilla2_AfterEdit(int fila, int col) {
    if (Grilla2_->ColKey(col) == QStringLiteral("Codigo")) {
        const QString c = FormatoSQL(Grilla2_->TextMatrix(fila, col), 1);
        const auto n = Entero32(Grilla2_->TextMatrix(fila, col));
        if (n && BuscarGrilla2(*n)) {
            Grilla2_->setTextMatrix(fila, col, QString());
            // The employee this row held, if any, is no leaver any more.
            if (ReponerEmpleados()) Calcular();
            return;
        }
        auto vaciar = [this, fila] {
            for (const char* clave :
                 {"Codigo", "Nombre", "Cuil", "FechaIng", "Categoria", "Sueldo"})
                Grilla2_->setTextoClave(fila, clave, QString());
        };
        if (!n) {
            vaciar();
        } else {
            try {
                const QString e = QString::number(IdEmpresa);
                Recordset rs = Database::open(RutaBase).openRecordset(
                    "select * from empleado, categoria where  cat_id= ado_categoria and ado_id not "
                    "in (select Baj_Empleado from bajas where baj_idempresa=" +
                    e + ") and ado_id= " + c + " and ado_idempresa=" + e);
                if (rs.vacio()) {
                    vaciar();
                } else {
                    BorrarGrilla(static_cast<qint64>(LeerNumero(rs.value("ado_id"))));
                    Grilla2_->setTextoClave(fila, "Codigo", FormatoNulo(rs.value("ado_Id"), 1));
                    Grilla2_->setTextoClave(fila, "Nombre", FormatoNulo(rs.value("ado_nombre"), 3));
                    Grilla2_->setTextoClave(fila, "Cuil", FormatoNulo(rs.value("Ado_Cuil"), 3));
                    Grilla2_->setTextoClave(fila, "FechaIng",
                                            FormatoNulo(rs.value("Ado_FechaIng"), 4));
                    Grilla2_->setTextoClave(fila, "Categoria",
                                            FormatoNulo(rs.value("cat_nombre"), 3));
                    Grilla2_->setTextoClave(fila, "Sueldo", FormatoNulo(rs.value("Ado_Sueldo"), 1));
                    // The category goes with the employee, as for the leavers loaded.
                    Grilla2_->setTextoClave(fila, "IdCatego",
                                            FormatoNulo(rs.value("Ado_Categoria"), 1));
                    if (rs.isNull("Ado_FechaEgreso"))
                        Grilla2_->Select(fila, Grilla2_->ColIndex("FechaEgreso"));
                }
            } catch (const DatabaseError& e) {
                MostrarError(e);
            }
        }
        // Whoever left the active grid without ending up among the leavers comes back.
        ReponerEmpleados();
    }
    // An impossible date (31/02) is refused like any other that is not a date.
    if (Grilla2_->ColKey(col) == QStringLiteral("FechaEgreso")) {
        const QString fecha = Grilla2_->TextMatrix(fila, col);
        if (!fecha.isEmpty() && !EsFecha(fecha)) {
            MsgBox(QStringLiteral("La fecha de egreso ingresada no es válida"), 48, QString());
            Grilla2_->setTextMatrix(fila, col, QString());
            return;
        }
    }
    Calcular();
    if (EsNumero(Grilla2_->TextoClave(fila, "codigo")) &&
        EsFecha(Grilla2_->TextoClave(fila, "FechaEgreso"))) {
        int ultima = Grilla2_->ColIndex("FechaEgreso");
        int primera = 0;
        SiguienteFila(*Grilla2_, ultima, primera);
    }
}

void frmDecJurada::Grilla2_KeyDown(int& keyCode, int shift) {
    (void)shift;
    const int filasAntes = Grilla2_->Rows();
    keyCode = TeclaGrilla(*Grilla2_, keyCode, QStringLiteral("codigo"));
    if (Grilla2_->Rows() < filasAntes && ReponerEmpleados()) Calcular();
    if (keyCode == kF4 && Grilla2_->Row() > 0) {
        if (Grilla2_->ColKey(Grilla2_->Col()) == QStringLiteral("Codigo")) {
            Grilla2_->setTextoClave(Grilla2_->Row(), "codigo", texto_[13]->text());
            Grilla2_AfterEdit(Grilla2_->Row(), Grilla2_->ColIndex("codigo"));
        }
        Grilla2_->EditCell();
    }
}

// ---- buttons ----

void frmDecJurada::btnGrabar_Click() {
    if (texto_[14]->text().isEmpty()) {
        MsgBox(QStringLiteral("Debe ingresar la fecha de vencimiento"), 64, QString());
        texto_[14]->setFocus();
        return;
    }
    if (texto_[15]->text().isEmpty()) {
        MsgBox(QStringLiteral("Debe ingresar el número de inscripción"), 64, QString());
        texto_[15]->setFocus();
        return;
    }
    if (texto_[16]->text().isEmpty()) {
        MsgBox(QStringLiteral("Debe ingresar el importe de la cuota societaria"), 64, QString());
        texto_[16]->setFocus();
        return;
    }
    // Nobody drops out unseen: every leaver listed needs a leaving date.
    for (int r = 1; r < Grilla2_->Rows(); ++r) {
        const QString codigo = Grilla2_->TextoClave(r, "codigo");
        if (codigo.isEmpty() || EsFecha(Grilla2_->TextoClave(r, "FechaEgreso"))) continue;
        MsgBox(QStringLiteral("Debe ingresar la fecha de egreso del empleado %1 (%2)")
                   .arg(codigo, Grilla2_->TextoClave(r, "Nombre")),
               64, QString());
        Grilla2_->setFocus();
        Grilla2_->Select(r, Grilla2_->ColIndex("FechaEgreso"));
        return;
    }
    // The fee and cap stored, coded and shown are the ones read; a refused text saves nothing.
    const std::optional<Moneda> cuota = ImporteDeCaja(texto_[16]);
    const std::optional<Moneda> tope = ImporteDeCaja(texto_[17]);
    if (!cuota || !tope) {
        const int i = cuota ? 17 : 16;
        MsgBox(RechazoDeCaja(texto_[i], i) + QStringLiteral("\nLa Declaración Jurada no se grabó."),
               vbExclamation);
        if (texto_[i]->isEnabled()) texto_[i]->setFocus();
        return;
    }
    if (cargaIncompleta_ || desborde_) {
        MsgBox((cargaIncompleta_ ? kCargaIncompleta : kDesborde) +
                   QStringLiteral("\nLa Declaración Jurada no se grabó."),
               48);
        return;
    }

    DDJJEnPantalla d;
    d.periodo = Periodo();
    d.vencimiento = texto_[14]->text();
    d.nroInscripcion = texto_[15]->text();
    d.cantEmpleados = texto_[5]->text();
    d.totalRemu = texto_[6]->text();
    d.remu2 = texto_[8]->text();
    d.farmacia = texto_[9]->text();
    d.amec = texto_[10]->text();
    d.cuotaSocietaria = texto_[11]->text();
    d.total = texto_[12]->text();
    d.valorCuota = cuota->texto();
    d.tope = tope->texto();
    d.amec3 = texto_[18]->text();
    d.prestamos = texto_[19]->text();
    for (int r = 1; r < Grilla_->Rows(); ++r) {
        const auto celda = [this, r](const char* clave) { return Grilla_->TextoClave(r, clave); };
        d.empleados.push_back({celda("codigo"), celda("Sueldo"), celda("Aporte2") == "1",
                               celda("AporteFarmacia") == "1", celda("AporteAmec") == "1",
                               celda("CuotaSoc") == "1", celda("IdCatego"),
                               celda("afiliado") == "1", celda("prestamo")});
    }
    for (int r = 1; r < Grilla2_->Rows(); ++r) {
        const auto celda = [this, r](const char* clave) { return Grilla2_->TextoClave(r, clave); };
        d.bajas.push_back(
            {celda("codigo"), celda("FechaEgreso"), celda("Sueldo"), celda("IdCatego")});
    }
    const ResultadoGrabar resultado = GrabarDDJJ(d);
    if (!resultado.grabada()) {
        if (resultado.recargar) mskPeriodo_Validate();
        if (!resultado.foco.isEmpty())
            if (auto* w = findChild<QWidget*>(resultado.foco)) EnfocarParaEscribir(w);
        return;
    }
    // The offers print and mail the declaration just written.
    IdDDJJ_ = resultado.idDDJJ;
    if (MsgBox(QStringLiteral("La Declaración Jurada se grabo correctamente!. Desea imprimirla? "),
               52) == vbYes)
        btnImprimir_Click();
    if (MsgBox(QStringLiteral("Desea enviar el e-mail?"), 68) == vbYes) btnEMail_Click();
    btnCancelar_Click();
}

bool frmDecJurada::PeriodoSinCargar() const {
    // A period that is no month never loaded: the month on screen is not the one typed.
    if (!EsFecha("01/" + Periodo())) {
        MsgBox(QStringLiteral("El período ingresado no es válido!"), 48, QString());
        mskPeriodo_->setFocus();
        return true;
    }
    if (periodoSinCargar_)
        MsgBox(QStringLiteral("El período ingresado no se pudo leer: la ventana muestra todavía el "
                              "período anterior. Vuelva a ingresar el período."),
               48);
    return periodoSinCargar_;
}

void frmDecJurada::btnEliminar_Click() {
    if (PeriodoSinCargar()) return;
    if (MsgBox(QStringLiteral("Confirma eliminación del registro? "), 68,
               QStringLiteral("Eliminación")) != vbYes)
        return;
    switch (EliminarDDJJ(IdDDJJ_, Periodo())) {
        case ResultadoEliminar::Eliminada:
            break;
        case ResultadoEliminar::NoExiste:
            // Show what the file holds for this month now.
            mskPeriodo_Validate();
            return;
        case ResultadoEliminar::Fallo:
            // Still saved: the window says so by staying as it is.
            return;
    }
    btnEliminar_->setEnabled(false);
    btnGrabar_->setEnabled(true);
    btnCancelar_Click();
}

void frmDecJurada::btnImprimir_Click() {
    if (PeriodoSinCargar()) return;
    ImprimirDDJJ(IdDDJJ_, this);
}

void frmDecJurada::btnEMail_Click() {
    if (PeriodoSinCargar()) return;
    EnviarDDJJ(IdDDJJ_, texto_[0]->text(), Periodo(), texto_[20], this);
}

void frmDecJurada::btnEmpleados_Click() {
    MostrarModal(new frmEmpleados, this);
    // A new declaration takes in what was changed; a saved one shows what it declared.
    if (IdDDJJ_ != 0) return;
    CargarEmpBaja(ConsultaBajasNueva(IdEmpresa));
    CargarEmpleados(ConsultaEmpleadosNueva(IdEmpresa), true);
    Calcular();
}

void frmDecJurada::btnCancelar_Click() {
    for (QLineEdit* caja : texto_) caja->setText(QString());
    Form_Load();
    // The next period is typed over the current month's, wherever the focus was.
    EnfocarParaEscribir(mskPeriodo_);
}

void frmDecJurada::btnSalir_Click() {
    close();
}

}  // namespace zul
