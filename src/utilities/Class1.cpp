#include "utilities/Class1.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "platform/Ventana.h"

namespace zul {

std::function<bool(const QUrl&)> Class1::AbrirDireccion = [](const QUrl& url) {
    return QDesktopServices::openUrl(url);
};

Class1::Class1(QObject* parent)
    : QObject(parent),
      normal_(Qt::black),
      arriba_(Qt::black),
      abajo_(Qt::black),
      actual_(Qt::black) {}

Class1::~Class1() {
    if (m_Picture) m_Picture->removeEventFilter(this);
}

void Class1::Iniciar(QFrame* UnPictureBox, QWidget* ElForm) {
    Q_UNUSED(ElForm);
    if (m_Picture) m_Picture->removeEventFilter(this);
    m_Picture = UnPictureBox;
    // Moves without a button pressed are needed to show the hover colour.
    m_Picture->setMouseTracking(true);
    m_Picture->installEventFilter(this);
    estado_ = 0;
    AplicarFuente();
    setBorde(borde_);
    setUrl(url_);
    Redibujar(normal_);
}

void Class1::setColorTextNormal(const QColor& NewColor) {
    normal_ = NewColor;
    Redibujar(normal_);
}

void Class1::setTexto(const QString& NewTexto) {
    texto_ = NewTexto;
    Redimensionar();
}

void Class1::setFontSize(qreal NewSize) {
    fuente_.setPointSizeF(NewSize);
    AplicarFuente();
}

void Class1::setFontName(const QString& NewFont) {
    fuente_.setFamily(NewFont);
    AplicarFuente();
}

void Class1::setFontBold(bool valor) {
    CambiarFuente(&QFont::setBold, valor);
}

void Class1::setFontItalic(bool valor) {
    CambiarFuente(&QFont::setItalic, valor);
}

void Class1::setFontStrikethru(bool valor) {
    CambiarFuente(&QFont::setStrikeOut, valor);
}

void Class1::setFontUnderline(bool valor) {
    CambiarFuente(&QFont::setUnderline, valor);
}

void Class1::setBorde(bool valor) {
    borde_ = valor;
    if (m_Picture) {
        m_Picture->setFrameStyle(valor ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
        m_Picture->setLineWidth(1);
    }
    Redimensionar();
}

void Class1::setMousePointer(Qt::CursorShape valor) {
    puntero_ = QCursor(valor);
    if (m_Picture) m_Picture->setCursor(puntero_);
}

void Class1::setMouseIcon(const QPixmap& valor) {
    puntero_ = QCursor(valor);
    if (m_Picture) m_Picture->setCursor(puntero_);
}

void Class1::setUrl(const QString& New_Url) {
    url_ = New_Url;
    if (m_Picture) m_Picture->setToolTip(url_);
}

void Class1::CambiarFuente(void (QFont::*cambio)(bool), bool valor) {
    (fuente_.*cambio)(valor);
    AplicarFuente();
}

void Class1::AplicarFuente() {
    if (m_Picture) m_Picture->setFont(fuente_);
    Redimensionar();
}

void Class1::Redimensionar() {
    if (!m_Picture) return;
    const QFontMetrics medida(fuente_);
    m_Picture->setFixedSize(medida.horizontalAdvance(texto_) + Twips(80),
                            medida.height() + Twips(40));
    m_Picture->update();
}

void Class1::Redibujar(const QColor& color) {
    actual_ = color;
    if (m_Picture) m_Picture->update();
}

void Class1::Dibujar() {
    QPainter pintor(m_Picture);
    pintor.setFont(fuente_);
    pintor.setPen(actual_);
    pintor.drawText(m_Picture->contentsRect(), Qt::AlignLeft | Qt::AlignTop, texto_);
}

bool Class1::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto != m_Picture) return false;
    const auto dentro = [this](const QMouseEvent* e) {
        return m_Picture->rect().contains(e->position().toPoint());
    };
    switch (evento->type()) {
        case QEvent::Paint:
            Dibujar();
            break;
        case QEvent::MouseButtonPress:
            estado_ = 1;
            Redibujar(abajo_);
            break;
        case QEvent::MouseMove: {
            const auto* e = static_cast<QMouseEvent*>(evento);
            if (dentro(e)) {
                estado_ = (e->buttons() & Qt::LeftButton) ? 1 : 0;
                // Back inside with the button still down: pressed again, as a button shows it.
                Redibujar(estado_ ? abajo_ : arriba_);
            } else {
                Redibujar(normal_);
            }
            break;
        }
        case QEvent::Leave:
            if (!estado_) Redibujar(normal_);
            break;
        case QEvent::MouseButtonRelease: {
            const auto* e = static_cast<QMouseEvent*>(evento);
            estado_ = 0;
            if (!dentro(e)) {
                Redibujar(normal_);
                break;
            }
            Redibujar(arriba_);
            // A failing handler is not the user's concern: nothing is shown.
            if (e->button() == Qt::LeftButton) AbrirDireccion(QUrl(url_));
            break;
        }
        default:
            break;
    }
    return false;
}

}  // namespace zul
