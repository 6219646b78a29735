#include "utilities/About.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/Ventana.h"
#include "utilities/Class1.h"
#include "utilities/Fabricante.h"

namespace zul {
namespace {

constexpr quint32 kAzulOscuro = 0xC00000;  // the link at rest
constexpr quint32 kBlanco = 0xFFFFFF;      // pressed
constexpr quint32 kAzul = 0xFF0000;        // under the mouse

// The program's emblem, drawn here so the program carries no image files.
QPixmap Emblema() {
    QPixmap p(Twips(3600), Twips(1500));
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const QColor azul(31, 78, 140);
    g.setPen(Qt::NoPen);
    g.setBrush(azul);
    g.drawEllipse(QRectF(4, 4, p.height() - 8, p.height() - 8));
    g.setPen(Qt::white);
    g.setFont(QFont(QStringLiteral("Serif"), 20, QFont::Bold));
    g.drawText(QRectF(4, 4, p.height() - 8, p.height() - 8), Qt::AlignCenter, QStringLiteral("Z"));
    g.setPen(azul);
    g.setFont(QFont(QStringLiteral("Sans"), 18, QFont::Bold));
    const QRectF resto(p.height() + 6, 0, p.width() - p.height() - 6, p.height());
    g.drawText(resto, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ZUL"));
    return p;
}

// The close picture: a red cross.
QPixmap Cerrar() {
    QPixmap p(Twips(240) * 2, Twips(240) * 2);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(170, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(7, 7, p.width() - 7, p.height() - 7);
    g.drawLine(p.width() - 7, 7, 7, p.height() - 7);
    return p;
}

}  // namespace

About::About(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("About"));
    setFont(FuenteVentana());
    setWindowTitle(QStringLiteral("Acerca de ... "));
    setAttribute(Qt::WA_DeleteOnClose);
    ArmarVentana();
    Form_Load();
}

void About::ArmarVentana() {
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Emblema());

    Label1 = new QLabel(fabricante::Nombre() + QLatin1Char('\n') + fabricante::Direccion(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);

    lblDisclaimer = new QLabel(fabricante::Aviso(), this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);
    QFont chica = lblDisclaimer->font();
    chica.setPointSizeF(chica.pointSizeF() * 0.85);
    lblDisclaimer->setFont(chica);

    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));

    Image2 = new QToolButton(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setToolTip(QStringLiteral("Salir"));
    Image2->setAutoRaise(true);
    Image2->setIcon(QIcon(Cerrar()));
    Image2->setIconSize(QSize(Twips(240), Twips(240)));
    connect(Image2, &QToolButton::clicked, this, &About::Image2_Click);
    // Esc leaves the box, as it leaves a dialog; Enter presses the close picture.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &About::Image2_Click,
                  Qt::WidgetWithChildrenShortcut);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(Image1, 0, Qt::AlignHCenter);
    columna->addWidget(Label1);
    columna->addWidget(lblDisclaimer);
    columna->addWidget(Picture1, 0, Qt::AlignHCenter);
    columna->addWidget(Image2, 0, Qt::AlignRight);
    // The box is as large as its texts need, wrapped at a fixed width.
    for (QLabel* texto : {Label1, lblDisclaimer}) texto->setFixedWidth(Twips(4500));
    columna->setSizeConstraint(QLayout::SetFixedSize);
}

void About::Form_Load() {
    // The window owns the link: it goes when the window is unloaded.
    Link = new Class1(this);
    Link->Iniciar(Picture1, this);
    Link->setFontSize(8);
    Link->setFontUnderline(true);
    Link->setColorTextNormal(ColorBGR(kAzulOscuro));
    Link->setColorTextDown(ColorBGR(kBlanco));
    Link->setColorTextUp(ColorBGR(kAzul));
    Link->setFontName(QStringLiteral("verdana"));
    Link->setUrl(fabricante::Url());
    Link->setTexto(fabricante::TextoUrl());
    Link->setBorde(false);
    adjustSize();
    Centrar(this);
}

void About::Image2_Click() {
    close();
}

}  // namespace zul
