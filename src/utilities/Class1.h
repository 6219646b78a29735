#pragma once
// A hyperlink label: draws its text in a box given to it, changes the text's colour while the
// mouse is over it or presses it, and opens its address with the desktop's handler on a click.
// The box takes the size of the text plus 80 by 40 twips.

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <functional>

class QFrame;
class QPixmap;

namespace zul {

// A colour as the Windows palette numbers it: &HBBGGRR.
constexpr QRgb ColorBGR(quint32 bgr) {
    return qRgb(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

class Class1 : public QObject {
    Q_OBJECT
  public:
    explicit Class1(QObject* parent = nullptr);
    ~Class1() override;

    // The box that shows the link; `ElForm` is the window that holds it.
    void Iniciar(QFrame* UnPictureBox, QWidget* ElForm);

    QColor ColorTextNormal() const { return normal_; }
    void setColorTextNormal(const QColor& NewColor);  // shown at once
    QColor ColorTextUp() const { return arriba_; }
    void setColorTextUp(const QColor& NewColor) { arriba_ = NewColor; }  // at the next event
    QColor ColorTextDown() const { return abajo_; }
    void setColorTextDown(const QColor& NewColor) { abajo_ = NewColor; }

    QString texto() const { return texto_; }
    void setTexto(const QString& NewTexto);
    qreal FontSize() const { return fuente_.pointSizeF(); }
    void setFontSize(qreal NewSize);
    QString FontName() const { return fuente_.family(); }
    void setFontName(const QString& NewFont);
    bool FontBold() const { return fuente_.bold(); }
    void setFontBold(bool valor);
    bool FontItalic() const { return fuente_.italic(); }
    void setFontItalic(bool valor);
    bool FontStrikethru() const { return fuente_.strikeOut(); }
    void setFontStrikethru(bool valor);
    bool FontUnderline() const { return fuente_.underline(); }
    void setFontUnderline(bool valor);
    bool Borde() const { return borde_; }
    void setBorde(bool valor);
    Qt::CursorShape MousePointer() const { return puntero_.shape(); }
    void setMousePointer(Qt::CursorShape valor);
    void setMouseIcon(const QPixmap& valor);
    QString Url() const { return url_; }
    void setUrl(const QString& New_Url);

    // The colour the text has now, and 1 while the left button holds the link down.
    QColor colorActual() const { return actual_; }
    int estado() const { return estado_; }

    // Opens an address with the desktop's handler; tests replace it.
    static std::function<bool(const QUrl&)> AbrirDireccion;

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    void CambiarFuente(void (QFont::*cambio)(bool), bool valor);
    void AplicarFuente();
    void Redimensionar();
    void Redibujar(const QColor& color);
    void Dibujar();

    QPointer<QFrame> m_Picture;
    QFont fuente_;
    QString texto_;
    QString url_;
    QColor normal_, arriba_, abajo_, actual_;
    QCursor puntero_;
    bool borde_ = false;
    int estado_ = 0;
};

}  // namespace zul
