#include "declaration/frmMail.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextStream>
#include <QVBoxLayout>

#include "common/Globales.h"
#include "platform/Mail.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"

namespace zul {
namespace {

// A subject that names the month and the company, and a file's full path, show whole.
constexpr int kLetrasLinea = 80;

}  // namespace

frmMail::frmMail(QWidget* parent) : QWidget(parent) {
    setObjectName("EMail");
    setFont(FuenteVentana());
    setWindowTitle("Enviar E-Mail");
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette fondo = palette();
    fondo.setColor(QPalette::Window, QColor(241, 244, 250));
    setPalette(fondo);

    auto* Frame1 = new QFrame(this);
    Frame1->setObjectName("Frame1");
    Frame1->setFrameShape(QFrame::StyledPanel);
    auto* rejilla = new QGridLayout(Frame1);

    auto etiqueta = [&](const QString& texto, int n, int fila) {
        auto* l = new QLabel(texto, Frame1);
        l->setObjectName(QString("Label1_%1").arg(n));
        rejilla->addWidget(l, fila, 0, Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };

    cboMail = new QComboBox(Frame1);
    cboMail->setObjectName("cboMail");
    cboMail->setEditable(true);
    cboMail->setInsertPolicy(QComboBox::NoInsert);
    etiqueta("Destino:", 0, 0)->setBuddy(cboMail);
    rejilla->addWidget(cboMail, 0, 1);

    texto0 = new QLineEdit(Frame1);
    texto0->setObjectName("texto_0");
    etiqueta("Asunto:", 1, 1)->setBuddy(texto0);
    rejilla->addWidget(texto0, 1, 1);

    texto2 = new QPlainTextEdit(Frame1);
    texto2->setObjectName("texto_2");
    texto2->setTabChangesFocus(true);
    texto2->setMinimumHeight(160);
    rejilla->addWidget(texto2, 2, 0, 1, 2);

    texto1 = new QLineEdit(Frame1);
    texto1->setObjectName("texto_1");
    etiqueta("Adjunto:", 2, 3)->setBuddy(texto1);
    rejilla->addWidget(texto1, 3, 1);
    for (QLineEdit* caja : {texto0, texto1})
        caja->setMinimumWidth(AnchoParaLetras(caja, kLetrasLinea));

    cmdenviar = new QPushButton(this);
    cmdenviar->setObjectName("cmdenviar");
    cmdenviar->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    cmdenviar->setToolTip("Enviar declaración jurada");
    cmdCancelar = new QPushButton("&Cancelar", this);
    cmdCancelar->setObjectName("cmdCancelar");
    cmdSalir = new QPushButton("&Salir", this);
    cmdSalir->setObjectName("cmdSalir");
    connect(cmdenviar, &QPushButton::clicked, this, &frmMail::cmdenviar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmMail::cmdCancelar_Click);
    connect(cmdSalir, &QPushButton::clicked, this, &frmMail::cmdSalir_Click);

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdenviar);
    botones->addWidget(cmdCancelar);
    botones->addWidget(cmdSalir);
    auto* principal = new QVBoxLayout(this);
    principal->addWidget(Frame1);
    principal->addLayout(botones);
    resize(480, 360);

    Form_Load();
}

void frmMail::Form_Load() {
    if (const QScreen* pantalla = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect area = pantalla->geometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }

    // Every line is an entry, empty ones and repeated ones too, in file order.
    QFile lista(CarpetaPrograma + "/listmail.dat");
    if (!lista.exists() || !lista.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    QTextStream entrada(&lista);
    while (!entrada.atEnd()) {
        QString linea = entrada.readLine();
        if (linea.endsWith(QLatin1Char('\r'))) linea.chop(1);
        cboMail->addItem(linea);
    }
}

void frmMail::cmdenviar_Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        MailItem m;
        m.setTo(cboMail->currentText());
        m.setSubject(texto0->text());
        m.setBody(texto2->toPlainText());
        m.addAttachment(texto1->text());
        m.send();
        QApplication::restoreOverrideCursor();
    } catch (const MailError& e) {
        QApplication::restoreOverrideCursor();
        MsgBox(e.mensaje(), 48, QString("ERROR"));
    }
}

void frmMail::cmdCancelar_Click() {
    close();
}

void frmMail::cmdSalir_Click() {
    close();
}

}  // namespace zul
