#include "common/Combos.h"

#include <QComboBox>

#include "common/Formato.h"
#include "common/Globales.h"
#include "platform/Database.h"

namespace zul {

void LlenarCombo(QComboBox* Combo, const QString& Tabla, const QString& CampoId,
                 const QString& CampoTexto, QString& Filtro, const QString& CampoTexto2) {
    if (!Filtro.isEmpty()) Filtro = " where " + Filtro;
    Database& db = Database::open(RutaBase);
    Recordset rs = db.openRecordset("select * from " + Tabla + Filtro);
    if (rs.recordCount() < 1) {
        Combo->setCurrentIndex(-1);
        return;
    }
    for (; !rs.eof(); rs.moveNext()) {
        const QVariant id = rs.value(CampoId);
        const QVariant texto = rs.value(CampoTexto);
        if (id.isNull() || texto.isNull()) continue;
        QString mostrado;
        if (CampoTexto2.isEmpty()) {
            mostrado = TextoValor(texto);
        } else {
            const QVariant texto2 = rs.value(CampoTexto2);
            // A row without its second text adds nothing, so it must not tag another item.
            if (texto2.isNull()) continue;
            mostrado = TextoValor(texto2) + " - " + TextoValor(texto);
        }
        Combo->addItem(mostrado, QVariant::fromValue<qint32>(TextoValor(id).toInt()));
    }
    if (Combo->count() > 0) Combo->setCurrentIndex(0);
}

void LlenarCombo(QComboBox* Combo, const QString& Tabla, const QString& CampoId,
                 const QString& CampoTexto, const QString& Filtro, const QString& CampoTexto2) {
    QString filtro = Filtro;
    LlenarCombo(Combo, Tabla, CampoId, CampoTexto, filtro, CampoTexto2);
}

void PosicionarCombo(QComboBox* Combo, const QString& Valor) {
    if (!EsNumero(Valor)) return;
    const double valor = LeerNumero(Valor);
    for (int i = 0; i < Combo->count(); ++i) {
        const QVariant dato = Combo->itemData(i);
        if (dato.isValid() && dato.toDouble() == valor) {
            Combo->setCurrentIndex(i);
            return;
        }
    }
}

}  // namespace zul
