#include "utilities/ImpreArc.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Formato.h"
#include "common/Globales.h"
#include "common/Impresoras.h"
#include "platform/Database.h"
#include "platform/MsgBox.h"
#include "platform/Ventana.h"

namespace zul {
namespace {

const char* const kColumnas[ImpreArc::kListados] = {"imp_ticket", "imp_factua", "imp_factub",
                                                    "imp_otros"};

const char* const kEtiquetas[ImpreArc::kCombos] = {
    "Impresora para Tickets", "Impresora para Facturas A", "Impresora para Facturas B",
    "Impresora Predeterminada", "Impresora Listados (Horizontal)"};

void MostrarError(const DatabaseError& e) {
    MsgBox(e.descripcion(), vbExclamation, QStringLiteral("ERROR"));
}

}  // namespace

QString SqlInsertarImpresoras(const QString& equipo, const QStringList& nombres) {
    QString sql = QStringLiteral(
                      "INSERT INTO impresoras(imp_equipo,imp_ticket,imp_factua,imp_factub,"
                      "imp_otros) VALUES(") +
                  FormatoSQL(equipo, sqlTexto);
    for (const QString& nombre : nombres) sql += QLatin1Char(',') + FormatoSQL(nombre, sqlTexto);
    return sql + QLatin1Char(')');
}

QString SqlActualizarImpresoras(const QString& equipo, const QStringList& nombres) {
    QStringList pares;
    for (int k = 0; k < ImpreArc::kListados; ++k)
        pares << QLatin1String(kColumnas[k]) + QLatin1Char('=') + FormatoSQL(nombres[k], sqlTexto);
    return QStringLiteral("UPDATE impresoras SET ") + pares.join(QLatin1Char(',')) +
           QStringLiteral(" WHERE imp_equipo=") + FormatoSQL(equipo, sqlTexto);
}

ImpreArc::ImpreArc(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImpreArc"));
    setFont(FuenteVentana());
    setWindowTitle(QStringLiteral("Selección de Impresora del Sistema"));
    setAttribute(Qt::WA_DeleteOnClose);
    ArmarVentana();
    Form_Load();
}

void ImpreArc::ArmarVentana() {
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    auto* fila = new QHBoxLayout(Frame1);
    for (int k = 0; k < kCombos; ++k) {
        const bool visible = k == kOtros;
        QWidget* padre = visible ? static_cast<QWidget*>(Frame1) : this;
        Label_[k] = new QLabel(QString::fromUtf8(kEtiquetas[k]), padre);
        Label_[k]->setObjectName(QStringLiteral("Label%1").arg(k + 1));
        Combo_[k] = new QComboBox(padre);
        Combo_[k]->setObjectName(QStringLiteral("Combo_%1").arg(k));
        // Long printer names show whole: the box widens to its longest entry.
        Combo_[k]->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        Label_[k]->setBuddy(Combo_[k]);
        if (visible) {
            fila->addWidget(Label_[k]);
            fila->addWidget(Combo_[k], 1);
        } else {
            // Out of sight, below the window, but kept like the shown one.
            Label_[k]->setGeometry(0, Twips(1455) + Twips(360) * k, Twips(2055), Twips(315));
            Combo_[k]->setGeometry(Twips(2100), Twips(1455) + Twips(360) * k, Twips(3810),
                                   Twips(315));
            Label_[k]->setVisible(false);
            Combo_[k]->setVisible(false);
        }
    }

    Grabar = new QPushButton(QStringLiteral("&Grabar"), this);
    Grabar->setObjectName(QStringLiteral("Grabar"));
    salir = new QPushButton(QStringLiteral("&Salir"), this);
    salir->setObjectName(QStringLiteral("salir"));
    connect(Grabar, &QPushButton::clicked, this, &ImpreArc::Grabar_Click);
    connect(salir, &QPushButton::clicked, this, &ImpreArc::salir_Click);

    auto* botones = new QHBoxLayout;
    botones->addWidget(Grabar);
    botones->addStretch();
    botones->addWidget(salir);
    auto* principal = new QVBoxLayout(this);
    principal->addWidget(Frame1);
    principal->addLayout(botones);
    setMinimumWidth(Twips(6060));
}

void ImpreArc::Form_Load() {
    QStringList entradas = {QStringLiteral("Predeterminada"), QStringLiteral("Controlador Fiscal")};
    for (const ImpresoraInstalada& impresora : ImpresorasInstaladas()) entradas << impresora.nombre;
    for (QComboBox* combo : Combo_) {
        combo->addItems(entradas);
        combo->setCurrentIndex(kPredeterminada);
    }
    CargarFila();
    adjustSize();
    Centrar(this);
}

void ImpreArc::CargarFila() {
    try {
        Database& Db = Database::open(RutaBase);
        Recordset Rs =
            Db.openRecordset(QStringLiteral("SELECT * FROM impresoras WHERE imp_equipo=") +
                             FormatoSQL(NombreEquipo, sqlTexto));
        if (Rs.bof() || Rs.eof()) {
            Modo = 2;
            return;
        }
        Modo = 1;
        for (int k = 0; k < kListados; ++k) {
            const QString nombre = FormatoNulo(Rs.value(QLatin1String(kColumnas[k])), nuloTexto);
            if (nombre.isEmpty())
                Combo_[k]->setCurrentIndex(kPredeterminada);
            else
                BuscarCombo(Combo_[k], nombre);
        }
    } catch (const DatabaseError& e) {
        MostrarError(e);
    }
}

void ImpreArc::BuscarCombo(QComboBox* combo, const QString& texto) {
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == texto) {
            combo->setCurrentIndex(i);
            return;
        }
    }
}

void ImpreArc::Grabar_Click() {
    if (!NombreEquipo.isEmpty()) {
        QStringList nombres;
        for (int k = 0; k < kListados; ++k)
            nombres << (Combo_[k]->currentIndex() == kPredeterminada ? QString()
                                                                     : Combo_[k]->currentText());
        try {
            Database& Db = Database::open(RutaBase);
            Db.execute(Modo == 1 ? SqlActualizarImpresoras(NombreEquipo, nombres)
                                 : SqlInsertarImpresoras(NombreEquipo, nombres));
        } catch (const DatabaseError& e) {
            // The choice stays on screen: the user may try again or leave without saving.
            MostrarError(e);
            return;
        }
    }
    LeerImpresoras();
    close();
}

void ImpreArc::salir_Click() {
    close();
}

}  // namespace zul
