// The e-mail window: its address list from listmail.dat and sending what its boxes hold.

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include "common/Globales.h"
#include "declaration/frmMail.h"
#include "platform/MsgBox.h"
#include "support/BaseDePrueba.h"
#include "support/SendmailDePrueba.h"

using namespace zul;
using namespace zul::prueba;

namespace {

void escribir(const QString& ruta, const QByteArray& datos) {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(datos);
}

}  // namespace

class TstFrmMail : public QObject {
    Q_OBJECT

  private slots:
    void listaDeDirecciones() {
        BaseDePrueba base;
        {
            QPointer<frmMail> w = new frmMail;
            QCOMPARE(w->windowTitle(), QString("Enviar E-Mail"));
            QCOMPARE(w->findChild<QComboBox*>("cboMail")->count(), 0);
            delete w;
        }
        // Windows line ends, an empty line and a repeated address all count as written.
        escribir(CarpetaPrograma + "/listmail.dat",
                 "uno@ejemplo.com\r\n\r\ndos@ejemplo.com\r\nuno@ejemplo.com");
        QPointer<frmMail> w = new frmMail;
        auto* cbo = w->findChild<QComboBox*>("cboMail");
        QCOMPARE(cbo->count(), 4);
        QCOMPARE(cbo->itemText(0), QString("uno@ejemplo.com"));
        QCOMPARE(cbo->itemText(1), QString(""));
        QCOMPARE(cbo->itemText(2), QString("dos@ejemplo.com"));
        QCOMPARE(cbo->itemText(3), QString("uno@ejemplo.com"));
        w->findChild<QPushButton*>("cmdSalir")->click();
        QTRY_VERIFY(w.isNull());
    }

    void enviarDosVecesYFallaInformada() {
        BaseDePrueba base;
        SendmailDePrueba sendmail;
        const QString adjunto = base.carpeta() + "/DJ_Acme_05-2024.rtf";
        escribir(adjunto, "{\\rtf1 Declaración}");

        QPointer<frmMail> w = new frmMail;
        w->findChild<QComboBox*>("cboMail")->setEditText("estudio@ejemplo.com.ar");
        w->findChild<QLineEdit*>("texto_0")->setText("DJ_Acme_05/2024");
        w->findChild<QPlainTextEdit*>("texto_2")->setPlainText("Envío la declaración.");
        w->findChild<QLineEdit*>("texto_1")->setText(adjunto);
        auto* enviar = w->findChild<QPushButton*>("cmdenviar");
        QCOMPARE(enviar->toolTip(), QString("Enviar declaración jurada"));
        enviar->click();
        enviar->click();

        QCOMPARE(sendmail.mensajes(), 2);
        for (int n = 0; n < 2; ++n) {
            const auto m = LeerMensaje(sendmail.mensaje(n));
            QCOMPARE(m.destinatarios, QStringList{"estudio@ejemplo.com.ar"});
            QCOMPARE(m.asunto, QString("DJ_Acme_05/2024"));
            QCOMPARE(m.cuerpo, QString("Envío la declaración."));
            QCOMPARE(m.adjuntos.size(), 1);
            QCOMPARE(m.adjuntos[0].nombre, QString("DJ_Acme_05-2024.rtf"));
            QCOMPARE(m.adjuntos[0].datos, QByteArray("{\\rtf1 Declaración}"));
        }
        QVERIFY(msgbox_prueba::mostrados().isEmpty());  // nothing shown on success

        // A missing attachment is told to the user, nothing goes out, the boxes stay.
        QFile::remove(adjunto);
        enviar->click();
        QCOMPARE(sendmail.mensajes(), 2);
        QCOMPARE(msgbox_prueba::mostrados().size(), 1);
        QVERIFY(msgbox_prueba::mostrados()[0].texto.contains("DJ_Acme_05-2024.rtf"));
        QCOMPARE(w->findChild<QLineEdit*>("texto_1")->text(), adjunto);
        QVERIFY(!w.isNull());
        w->findChild<QPushButton*>("cmdCancelar")->click();
        QTRY_VERIFY(w.isNull());
    }
};

QTEST_MAIN(TstFrmMail)
#include "tst_frmmail.moc"
