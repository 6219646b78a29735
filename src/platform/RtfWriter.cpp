#include "platform/RtfWriter.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <vector>

namespace zul {

namespace {

constexpr int kPapelAncho = 11906;  // A4, twips
constexpr int kPapelAlto = 16838;
constexpr int kMargen = 1134;  // 2 cm
constexpr int kAnchoUtil = kPapelAncho - 2 * kMargen;
constexpr int kTwipsPorPixel = 15;

// The code-page 1252 stand-in of a character, as an RTF escape; "?" when it has none.
QByteArray Cp1252(ushort u) {
    // 0x80 to 0x9F of the code page, where it departs from Latin-1 (0: unassigned).
    static constexpr ushort kAltos[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    int byte = -1;
    if (u >= 0xA0 && u <= 0xFF) byte = u;
    for (int i = 0; i < 32 && byte < 0; ++i)
        if (kAltos[i] == u) byte = 0x80 + i;
    if (byte < 0) return QByteArrayLiteral("?");
    return "\\'" + QByteArray::number(byte, 16);
}

class Escritor {
  public:
    QByteArray documento(const QList<const QTextDocument*>& docs) {
        for (int i = 0; i < docs.size(); ++i) {
            if (i > 0) cuerpo_ += "\\page\n";
            doc_ = docs[i];
            tamanoBase_ =
                doc_->defaultFont().pointSizeF() > 0 ? doc_->defaultFont().pointSizeF() : 10.0;
            marco(doc_->rootFrame());
        }
        QByteArray rtf =
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"
            "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n{\\colortbl;";
        for (const QColor& c : colores_)
            rtf += "\\red" + QByteArray::number(c.red()) + "\\green" +
                   QByteArray::number(c.green()) + "\\blue" + QByteArray::number(c.blue()) + ';';
        rtf += "}\n\\paperw" + QByteArray::number(kPapelAncho) + "\\paperh" +
               QByteArray::number(kPapelAlto) + "\\margl" + QByteArray::number(kMargen) +
               "\\margr" + QByteArray::number(kMargen) + "\\margt" + QByteArray::number(kMargen) +
               "\\margb" + QByteArray::number(kMargen) + "\\fs20\n";
        return rtf + cuerpo_ + "}\n";
    }

  private:
    // Index in the colour table (1-based; 0 is the reader's default).
    int color(const QColor& c) {
        const QColor opaco = c.toRgb();
        for (size_t i = 0; i < colores_.size(); ++i)
            if (colores_[i].rgb() == opaco.rgb()) return static_cast<int>(i) + 1;
        colores_.push_back(opaco);
        return static_cast<int>(colores_.size());
    }

    static QByteArray texto(const QString& t) {
        QByteArray r;
        for (const QChar c : t) {
            const ushort u = c.unicode();
            if (u == '\\' || u == '{' || u == '}') {
                r += '\\';
                r += static_cast<char>(u);
            } else if (u == '\n' || u == 0x2028) {
                r += "\\line ";
            } else if (u == '\t') {
                r += "\\tab ";
            } else if (u == 0xA0) {
                r += "\\~";
            } else if (u == 0xFFFC || u == 0x2029) {
                // object marks and block ends are written by their owners
            } else if (u >= 0x20 && u < 0x80) {
                r += static_cast<char>(u);
            } else if (u >= 0x80) {
                // Readers without Unicode take the code-page byte that follows.
                r += "\\u" + QByteArray::number(static_cast<qint16>(u)) + Cp1252(u);
            }
        }
        return r;
    }

    double tamano(const QTextCharFormat& f) const {
        if (f.fontPointSize() > 0) return f.fontPointSize();
        // HTML headings and <big>/<small> carry a relative size
        static constexpr double escalas[7] = {0.7, 0.8, 1.0, 1.2, 1.5, 2.0, 2.4};
        const int ajuste = qBound(-2, f.intProperty(QTextFormat::FontSizeAdjustment), 4);
        return tamanoBase_ * escalas[ajuste + 2];
    }

    QByteArray formato(const QTextCharFormat& f) {
        QByteArray r = "\\plain\\f0\\fs" + QByteArray::number(qRound(tamano(f) * 2));
        if (f.fontWeight() >= QFont::DemiBold) r += "\\b";
        if (f.fontItalic()) r += "\\i";
        if (f.fontUnderline()) r += "\\ul";
        if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
            r += "\\cf" + QByteArray::number(color(f.foreground().color()));
        return r + ' ';
    }

    QByteArray imagen(const QTextImageFormat& f) {
        QImage img = doc_->resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
        if (img.isNull()) return {};
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        const double ancho = f.width() > 0 ? f.width() : img.width();
        const double alto = f.height() > 0 ? f.height() : img.height();
        return "{\\pict\\pngblip\\picw" + QByteArray::number(img.width()) + "\\pich" +
               QByteArray::number(img.height()) + "\\picwgoal" +
               QByteArray::number(qRound(ancho * kTwipsPorPixel)) + "\\pichgoal" +
               QByteArray::number(qRound(alto * kTwipsPorPixel)) + '\n' + png.toHex() + "}";
    }

    void bloque(const QTextBlock& b, bool enCelda, bool ultimoDeCelda) {
        const QTextBlockFormat bf = b.blockFormat();
        if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) cuerpo_ += "\\page\n";
        cuerpo_ += "\\pard";
        if (enCelda) cuerpo_ += "\\intbl";
        const Qt::Alignment a = bf.alignment();
        cuerpo_ += (a & Qt::AlignHCenter)   ? "\\qc"
                   : (a & Qt::AlignRight)   ? "\\qr"
                   : (a & Qt::AlignJustify) ? "\\qj"
                                            : "\\ql";
        if (bf.topMargin() > 0) cuerpo_ += "\\sb" + QByteArray::number(qRound(bf.topMargin() * 15));
        if (bf.bottomMargin() > 0)
            cuerpo_ += "\\sa" + QByteArray::number(qRound(bf.bottomMargin() * 15));
        cuerpo_ += formato(b.charFormat());
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid()) continue;
            const QTextCharFormat cf = frag.charFormat();
            cuerpo_ += '{' + formato(cf);
            if (cf.isImageFormat())
                cuerpo_ += imagen(cf.toImageFormat());
            else
                cuerpo_ += texto(frag.text());
            cuerpo_ += '}';
        }
        cuerpo_ += enCelda && ultimoDeCelda ? "\\cell\n" : "\\par\n";
    }

    void marco(QTextFrame* f) {
        for (auto it = f->begin(); !it.atEnd(); ++it) {
            if (QTextFrame* hijo = it.currentFrame()) {
                if (auto* t = qobject_cast<QTextTable*>(hijo))
                    tabla(t);
                else
                    marco(hijo);
            } else if (it.currentBlock().isValid()) {
                bloque(it.currentBlock(), false, false);
            }
        }
    }

    std::vector<int> bordes(const QTextTable* t) const {
        const QTextTableFormat tf = t->format();
        const int columnas = t->columns();
        const QList<QTextLength> anchos = tf.columnWidthConstraints();
        int total = kAnchoUtil;
        if (tf.width().type() == QTextLength::PercentageLength)
            total = qRound(kAnchoUtil * tf.width().rawValue() / 100.0);
        else if (tf.width().type() == QTextLength::FixedLength)
            total = qMin(kAnchoUtil, qRound(tf.width().rawValue() * kTwipsPorPixel));
        std::vector<int> w(columnas, 0);
        int fijo = 0, libres = 0;
        for (int c = 0; c < columnas; ++c) {
            const QTextLength l = c < anchos.size() ? anchos[c] : QTextLength();
            if (l.type() == QTextLength::FixedLength)
                w[c] = qRound(l.rawValue() * kTwipsPorPixel);
            else if (l.type() == QTextLength::PercentageLength)
                w[c] = qRound(total * l.rawValue() / 100.0);
            else
                ++libres;
            fijo += w[c];
        }
        for (int c = 0; c < columnas; ++c)
            if (w[c] == 0) w[c] = libres ? qMax(300, (total - fijo) / libres) : 300;
        std::vector<int> borde(columnas);
        int x = 0;
        for (int c = 0; c < columnas; ++c) borde[c] = x += w[c];
        return borde;
    }

    void tabla(QTextTable* t) {
        const std::vector<int> borde = bordes(t);
        const QTextTableFormat tf = t->format();
        const bool conBorde =
            tf.border() > 0 && tf.borderStyle() != QTextFrameFormat::BorderStyle_None;
        for (int r = 0; r < t->rows(); ++r) {
            cuerpo_ += "\\trowd\\trgaph70\\trleft0";
            if (r < tf.headerRowCount()) cuerpo_ += "\\trhdr";
            std::vector<QTextTableCell> celdas;
            for (int c = 0; c < t->columns();) {
                const QTextTableCell celda = t->cellAt(r, c);
                const int span = qMax(1, celda.columnSpan());
                if (celda.row() != r)
                    cuerpo_ += "\\clvmrg";
                else if (celda.rowSpan() > 1)
                    cuerpo_ += "\\clvmgf";
                if (conBorde)
                    cuerpo_ +=
                        "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                        "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
                const QTextCharFormat cf = celda.format();
                if (cf.background().style() != Qt::NoBrush)
                    cuerpo_ += "\\clcbpat" + QByteArray::number(color(cf.background().color()));
                cuerpo_ += "\\cellx" + QByteArray::number(borde[qMin(c + span, t->columns()) - 1]);
                celdas.push_back(celda);
                c += span;
            }
            cuerpo_ += '\n';
            for (const QTextTableCell& celda : celdas) {
                if (celda.row() != r) {
                    cuerpo_ += "\\pard\\intbl\\cell\n";
                    continue;
                }
                escribirCelda(celda);
            }
            cuerpo_ += "\\row\n";
        }
        cuerpo_ += "\\pard\n";
    }

    void escribirCelda(const QTextTableCell& celda) {
        std::vector<QTextBlock> bloques;
        for (auto it = celda.begin(); !it.atEnd(); ++it) {
            if (QTextFrame* f = it.currentFrame()) {  // a nested table: its paragraphs
                for (auto jt = f->begin(); !jt.atEnd(); ++jt)
                    if (jt.currentBlock().isValid()) bloques.push_back(jt.currentBlock());
            } else if (it.currentBlock().isValid()) {
                bloques.push_back(it.currentBlock());
            }
        }
        if (bloques.empty()) {
            cuerpo_ += "\\pard\\intbl\\cell\n";
            return;
        }
        for (size_t i = 0; i < bloques.size(); ++i)
            bloque(bloques[i], true, i + 1 == bloques.size());
    }

    const QTextDocument* doc_ = nullptr;
    double tamanoBase_ = 10.0;
    QByteArray cuerpo_;
    std::vector<QColor> colores_;
};

}  // namespace

QByteArray EscribirRtf(const QList<const QTextDocument*>& documentos) {
    return Escritor().documento(documentos);
}

QByteArray EscribirRtf(const QList<const DocumentoInforme*>&) { return "{\\rtf1 }"; }
}  // namespace zul
