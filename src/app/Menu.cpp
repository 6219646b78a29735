#include "app/Menu.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Main.h"
#include "app/SelEmpresa.h"
#include "common/Formato.h"
#include "common/Globales.h"
#include "common/Impresoras.h"
#include "declaration/frmDecJurada.h"
#include "declaration/frmMail.h"
#include "masterdata/Empleos.h"
#include "masterdata/ImpoEmpleos.h"
#include "masterdata/frmActSueld.h"
#include "masterdata/frmCategoria.h"
#include "masterdata/frmDatosEmpresa.h"
#include "masterdata/frmEmpleados.h"
#include "masterdata/frmEmpresas.h"
#include "masterdata/frmPrestamos.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"
#include "utilities/About.h"
#include "utilities/ImpreArc.h"
#include "utilities/backup.h"

namespace zul {

std::function<bool(const QString&, const QStringList&)> Menu::IniciarPrograma =
    [](const QString& programa, const QStringList& argumentos) {
        return QProcess::startDetached(programa, argumentos);
    };

namespace {

const QString kTitulo = QStringLiteral("ZUL - Telvaro Declaración Jurada");
const QString kAyuda = QStringLiteral("AyudaDJZUL.html");

// The desktop calculators, in the order they are looked for.
const QStringList kCalculadoras = {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                                   QStringLiteral("galculator"),       QStringLiteral("mate-calc"),
                                   QStringLiteral("qalculate-gtk"),    QStringLiteral("xcalc")};

enum Dibujo { kEmpresa, kEmpleados, kPrestamos, kDeclaracion, kSalir };

// The toolbar pictures are drawn here, so the program carries no image files.
QPixmap Icono(int dibujo) {
    QPixmap p(Twips(1170), Twips(750));
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const QColor azul(31, 78, 140), gris(90, 90, 90), oro(214, 160, 30), rojo(170, 40, 40);
    g.setPen(QPen(gris, 1.5));
    switch (dibujo) {
        case kEmpresa: {  // a building with an arrow round it
            g.setBrush(QColor(200, 215, 235));
            g.drawRect(22, 10, 26, 34);
            g.setBrush(azul);
            for (int fila = 0; fila < 4; ++fila)
                for (int col = 0; col < 3; ++col) g.drawRect(26 + col * 8, 14 + fila * 7, 4, 4);
            g.setPen(QPen(oro, 3));
            g.setBrush(Qt::NoBrush);
            g.drawArc(QRect(8, 6, 62, 40), 30 * 16, 120 * 16);
            g.drawLine(60, 6, 64, 14);
            g.drawLine(64, 14, 55, 15);
            break;
        }
        case kEmpleados: {  // two people
            for (int i = 0; i < 2; ++i) {
                const int x = 22 + i * 20;
                g.setBrush(i ? azul : QColor(70, 120, 180));
                g.drawEllipse(QPointF(x + 8, 14), 7, 7);
                QPainterPath cuerpo;
                cuerpo.moveTo(x - 4, 44);
                cuerpo.quadTo(x + 8, 12, x + 20, 44);
                cuerpo.closeSubpath();
                g.drawPath(cuerpo);
            }
            break;
        }
        case kPrestamos: {  // a banknote and coins
            g.setBrush(QColor(120, 175, 110));
            g.drawRoundedRect(12, 12, 40, 24, 3, 3);
            g.setPen(QPen(Qt::white, 2));
            g.setFont(QFont(QStringLiteral("Sans"), 13, QFont::Bold));
            g.drawText(QRect(12, 12, 40, 24), Qt::AlignCenter, QStringLiteral("$"));
            g.setPen(QPen(gris, 1.5));
            g.setBrush(oro);
            for (int i = 0; i < 3; ++i) g.drawEllipse(QPointF(58, 40 - i * 6), 10, 4);
            break;
        }
        case kDeclaracion: {  // a form with lines and a seal
            g.setBrush(Qt::white);
            g.drawRect(24, 4, 30, 42);
            g.setPen(QPen(azul, 2));
            for (int i = 0; i < 5; ++i) g.drawLine(29, 11 + i * 6, 49, 11 + i * 6);
            g.setPen(QPen(rojo, 1.5));
            g.setBrush(QColor(220, 70, 70));
            g.drawEllipse(QPointF(50, 41), 7, 7);
            break;
        }
        case kSalir: {  // a door and an arrow leaving it
            g.setBrush(QColor(150, 100, 60));
            g.drawRect(20, 6, 22, 40);
            g.setBrush(oro);
            g.drawEllipse(QPointF(37, 27), 2, 2);
            g.setPen(QPen(rojo, 4, Qt::SolidLine, Qt::RoundCap));
            g.drawLine(46, 26, 64, 26);
            g.drawLine(64, 26, 57, 19);
            g.drawLine(64, 26, 57, 33);
            break;
        }
        default:
            break;
    }
    return p;
}

QPixmap Logo() {
    QPixmap p(360, 150);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(31, 78, 140), 3));
    g.setBrush(QColor(255, 255, 255, 220));
    g.drawRoundedRect(QRectF(2, 2, 356, 146), 14, 14);
    g.setPen(QColor(31, 78, 140));
    g.setFont(QFont(QStringLiteral("Serif"), 44, QFont::Bold));
    g.drawText(QRect(0, 8, 360, 80), Qt::AlignCenter, QStringLiteral("ZUL"));
    g.setPen(QColor(70, 70, 70));
    g.setFont(QFont(QStringLiteral("Sans"), 13));
    g.drawText(QRect(0, 88, 360, 28), Qt::AlignCenter, QStringLiteral("Telvaro"));
    g.drawText(QRect(0, 112, 360, 28), Qt::AlignCenter, QStringLiteral("Declaración Jurada"));
    return p;
}

}  // namespace

Menu::Menu(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Menu"));
    setFont(FuenteVentana());
    setWindowTitle(kTitulo);
    resize(Twips(10455), Twips(7095));

    QMenu* zul = menuBar()->addMenu(QStringLiteral("ZUL"));
    zul->setObjectName(QStringLiteral("mnuZUL"));
    zul->menuAction()->setObjectName(QStringLiteral("mnuZUL"));
    Entrada(zul, QStringLiteral("mnuEmpresa"), QStringLiteral("Datos del Estudio Contable"),
            &Menu::mnuEmpresa_Click);
    zul->addSeparator();
    Entrada(zul, QStringLiteral("mnuEmpresas"), QStringLiteral("Datos de Empresa"),
            &Menu::mnuEmpresas_Click);
    Entrada(zul, QStringLiteral("mnuSelEmpresa"), QStringLiteral("Selección de Empresa"),
            &Menu::mnuSelEmpresa_Click);
    zul->addSeparator();
    Entrada(zul, QStringLiteral("mnuCategorias"), QStringLiteral("Categorías de Empleo"),
            &Menu::mnuCategorias_Click);
    Entrada(zul, QStringLiteral("mEmpleos"), QStringLiteral("Empleos"), &Menu::mEmpleos_Click);
    Entrada(zul, QStringLiteral("mnuActSueld"), QStringLiteral("Actualización de Sueldos "),
            &Menu::mnuActSueld_Click);
    QAction* importar = Entrada(zul, QStringLiteral("mActSueld"),
                                QStringLiteral("Importar Archivo - Actualización de Sueldos ZUL"),
                                &Menu::mActSueld_Click);
    zul->addSeparator();
    Entrada(zul, QStringLiteral("mnuEmpleados"), QStringLiteral("Datos de Empleados"),
            &Menu::mnuEmpleados_Click);
    zul->addSeparator();
    Entrada(zul, QStringLiteral("mnuPrestamos"), QStringLiteral("Préstamos"),
            &Menu::mnuPrestamos_Click);
    zul->addSeparator();
    Entrada(zul, QStringLiteral("mnuDDJJ"), QStringLiteral("Declaración Jurada"),
            &Menu::mnuDDJJ_Click);
    QAction* correo = Entrada(zul, QStringLiteral("mEnviarMail"), QStringLiteral("Enviar E-Mail"),
                              &Menu::mEnviarMail_Click);
    for (QAction* oculta : {importar, correo}) {
        oculta->setVisible(false);
        oculta->setEnabled(false);
    }

    QMenu* util = menuBar()->addMenu(QStringLiteral("Utilidades"));
    util->setObjectName(QStringLiteral("mutil"));
    util->menuAction()->setObjectName(QStringLiteral("mutil"));
    Entrada(util, QStringLiteral("mimpresora"), QStringLiteral("Seleccionar Impresora"),
            &Menu::mimpresora_Click);
    Entrada(util, QStringLiteral("mcopia"), QStringLiteral("Generar Copia de Seguridad"),
            &Menu::mcopia_Click);
    util->addSeparator();
    Entrada(util, QStringLiteral("mcalculadora"), QStringLiteral("Calculadora"),
            &Menu::mcalculadora_Click);
    Entrada(nullptr, QStringLiteral("mayuda"), QStringLiteral("Ayuda"), &Menu::mayuda_Click);
    Entrada(nullptr, QStringLiteral("macerca"), QStringLiteral("Acerca de..."),
            &Menu::macerca_Click);
    Entrada(nullptr, QStringLiteral("mnuSalir"), QStringLiteral("Salir"), &Menu::mnuSalir_Click);

    auto* centro = new QWidget(this);
    auto* columna = new QVBoxLayout(centro);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);
    PictContable = new QWidget(centro);
    PictContable->setObjectName(QStringLiteral("PictContable"));
    PictContable->setFixedHeight(Twips(900));
    PictContable->setAutoFillBackground(true);
    Imagen(QStringLiteral("Image4"), 0, QStringLiteral("Cambiar Empresa"), kEmpresa,
           &Menu::Image4_Click);
    Imagen(QStringLiteral("Image2"), 1175, QStringLiteral("Empleados"), kEmpleados,
           &Menu::Image2_Click);
    Imagen(QStringLiteral("Image3"), 2325, QStringLiteral("Préstamos"), kPrestamos,
           &Menu::Image3_Click);
    Imagen(QStringLiteral("Image1"), 3420, QStringLiteral("Declaración Jurada"), kDeclaracion,
           &Menu::Image1_Click);
    Imagen(QStringLiteral("Image5"), 4605, QStringLiteral("Salir del Sistema"), kSalir,
           &Menu::Image5_Click);
    columna->addWidget(PictContable);

    area_ = new QMdiArea(centro);
    area_->setObjectName(QStringLiteral("Area"));
    area_->setBackground(QColor(171, 171, 171));
    columna->addWidget(area_, 1);
    setCentralWidget(centro);

    // The logo lies under every child window.
    ImgContable = new QLabel(area_->viewport());
    ImgContable->setObjectName(QStringLiteral("ImgContable"));
    ImgContable->setPixmap(Logo());
    ImgContable->adjustSize();
    ImgContable->lower();

    statusBar()->setObjectName(QStringLiteral("sbar1"));
    for (int i = 0; i < 2; ++i) {
        panel_[i] = new QLabel(this);
        panel_[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        panel_[i]->setFrameShape(QFrame::Panel);
        panel_[i]->setFrameShadow(QFrame::Sunken);
        statusBar()->addPermanentWidget(panel_[i], 1);
    }
    panel_[1]->setToolTip(QStringLiteral("Ruta Acceso"));
}

QAction* Menu::Entrada(QMenu* menu, const QString& nombre, const QString& texto,
                       void (Menu::*handler)()) {
    QAction* a = menu ? menu->addAction(texto) : menuBar()->addAction(texto);
    a->setObjectName(nombre);
    connect(a, &QAction::triggered, this, handler);
    return a;
}

QToolButton* Menu::Imagen(const QString& nombre, int izquierda, const QString& tip, int dibujo,
                          void (Menu::*handler)()) {
    auto* b = new QToolButton(PictContable);
    b->setObjectName(nombre);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setIcon(QIcon(Icono(dibujo)));
    b->setIconSize(QSize(Twips(1170), Twips(750)));
    b->setGeometry(Twips(izquierda), Twips(75), Twips(1170), Twips(750));
    connect(b, &QToolButton::clicked, this, handler);
    return b;
}

void Menu::TextoPanel(int panel, const QString& texto) {
    if (panel >= 1 && panel <= 2) panel_[panel - 1]->setText(texto);
}

bool Menu::MDIForm_Load() {
    try {
        Database& db = Database::open(RutaBase);
        Recordset rs = db.openRecordset(QStringLiteral(
            "SELECT emp_empresanro FROM Empresa  where emp_Id=0 and emp_empresanro>0 "));
        if (!rs.vacio()) {
            IdEmpresa = static_cast<qint32>(LeerNumero(rs.value(QStringLiteral("emp_empresanro"))));
            Recordset empresa = db.openRecordset(
                QStringLiteral("SELECT emp_nombre,emp_id FROM Empresa  where emp_Id=") +
                QString::number(IdEmpresa));
            if (!empresa.vacio())
                setWindowTitle(windowTitle() + QStringLiteral(" - Empresa: ") +
                               FormatoNulo(empresa.value(QStringLiteral("Emp_id")), 1) +
                               QStringLiteral(" - ") +
                               FormatoNulo(empresa.value(QStringLiteral("Emp_Nombre")), 3));
        }
    } catch (const DatabaseError& e) {
        AvisarBaseInutilizable(e.descripcion());
        return false;
    }
    LeerImpresoras();
    const QFileInfo programa(QCoreApplication::applicationFilePath());
    if (programa.exists())
        TextoPanel(1, QStringLiteral("Fecha última atualización: ") +
                          programa.lastModified().toString(QStringLiteral("dd/MM/yyyy")));
    TextoPanel(2, CarpetaPrograma);
    return true;
}

void Menu::resizeEvent(QResizeEvent* evento) {
    QMainWindow::resizeEvent(evento);
    MDIForm_Resize();
}

void Menu::MDIForm_Resize() {
    // Centred on the window, a little above the middle, as far as the work area allows.
    const QSize fuera = frameGeometry().size();
    const QPoint enVentana(fuera.width() / 2 - ImgContable->width() / 2,
                           fuera.height() / 2 - ImgContable->height() / 2 - Twips(900));
    const QPoint enArea = area_->viewport()->mapFrom(this, enVentana);
    ImgContable->move(std::max(0, enArea.x()), std::max(0, enArea.y()));
}

void Menu::closeEvent(QCloseEvent* evento) {
    MDIForm_Unload();
    evento->accept();
}

void Menu::MDIForm_Unload() {
    area_->closeAllSubWindows();
    // The unload is never cancelled: what refused to close goes all the same.
    for (QMdiSubWindow* marco : area_->subWindowList()) delete marco;
    for (QWidget* w : VentanasAbiertas()) {
        w->close();
        if (w->isVisible()) w->hide();
        w->deleteLater();
    }
}

bool Menu::HayEmpresa(const QString& aviso) {
    if (IdEmpresa != 0) return true;
    MsgBox(aviso, 64, QStringLiteral("AVISO"));
    return false;
}

namespace {

// One window per kind: an open one comes to the front, otherwise a new one is shown.
template <class T>
void Abrir() {
    T* abierta = VentanaCargada<T>();
    MostrarVentana(abierta ? abierta : new T);
}

}  // namespace

void Menu::AbrirSelEmpresa() {
    Abrir<SelEmpresa>();
}

void Menu::AbrirDecJurada() {
    Abrir<frmDecJurada>();
}

void Menu::mnuEmpresa_Click() {
    Abrir<frmDatosEmpresa>();
}
void Menu::mnuEmpresas_Click() {
    Abrir<frmEmpresas>();
}
void Menu::mnuSelEmpresa_Click() {
    AbrirSelEmpresa();
}
void Menu::mnuCategorias_Click() {
    Abrir<frmCategoria>();
}
void Menu::mEmpleos_Click() {
    Abrir<Empleos>();
}
void Menu::mnuActSueld_Click() {
    Abrir<frmActSueld>();
}
// Hidden and disabled: the import window is not reached from the menu.
void Menu::mActSueld_Click() {
    Abrir<ImpoEmpleos>();
}

void Menu::mnuEmpleados_Click() {
    if (HayEmpresa(
            QStringLiteral("Antes de Ingresar un Empleado debe primero Seleccionar una Empresa")))
        Abrir<frmEmpleados>();
}

// Loans open without a company: the window finds no employee then.
void Menu::mnuPrestamos_Click() {
    Abrir<frmPrestamos>();
}

void Menu::mnuDDJJ_Click() {
    if (HayEmpresa(QStringLiteral(
            "Antes de Ingresar a la Declaración Jurada debe primero Seleccionar una Empresa")))
        AbrirDecJurada();
}

// Hidden and disabled: the e-mail window is not reached from the menu.
void Menu::mEnviarMail_Click() {
    Abrir<frmMail>();
}
void Menu::mimpresora_Click() {
    Abrir<ImpreArc>();
}
void Menu::mcopia_Click() {
    Abrir<backup>();
}

void Menu::mcalculadora_Click() {
    for (const QString& nombre : kCalculadoras) {
        const QString programa = QStandardPaths::findExecutable(nombre);
        if (programa.isEmpty()) continue;
        if (IniciarPrograma(programa, {})) return;
        MsgBox(QStringLiteral("No se pudo iniciar la calculadora (%1).").arg(programa), 48,
               QStringLiteral("AVISO"));
        return;
    }
    MsgBox(QStringLiteral("No se encontró una calculadora instalada en este equipo."), 48,
           QStringLiteral("AVISO"));
}

void Menu::mayuda_Click() {
    const QString archivo = CarpetaPrograma + QLatin1Char('/') + kAyuda;
    if (!QFileInfo::exists(archivo)) {
        MsgBox(QStringLiteral("No se encuentra el archivo de ayuda %1.").arg(archivo), 48,
               QStringLiteral("AVISO"));
        return;
    }
    const QString visor = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (visor.isEmpty() || !IniciarPrograma(visor, {archivo}))
        MsgBox(
            QStringLiteral("No se pudo abrir la ayuda. Ábrala con el navegador: %1").arg(archivo),
            48, QStringLiteral("AVISO"));
}

void Menu::macerca_Click() {
    Abrir<About>();
}

void Menu::mnuSalir_Click() {
    // Closing the main window unloads every other window first.
    close();
}

// The toolbar's declaration image says exactly what the menu entry says.
void Menu::Image1_Click() {
    mnuDDJJ_Click();
}

void Menu::Image2_Click() {
    if (HayEmpresa(QStringLiteral("Antes de Ingresar un Empleado debe Seleccionar una Empresa")))
        Abrir<frmEmpleados>();
}

void Menu::Image3_Click() {
    mnuPrestamos_Click();
}

void Menu::Image4_Click() {
    AbrirSelEmpresa();
}

void Menu::Image5_Click() {
    close();
}

}  // namespace zul
