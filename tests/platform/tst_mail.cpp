// The mail item through a stand-in sendmail that keeps each message it receives; the messages
// are parsed back with GMime.

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/Mail.h"
#include "support/SendmailDePrueba.h"

using namespace zul;
using zul::prueba::LeerMensaje;
using zul::prueba::SendmailDePrueba;

namespace {

QString archivoCon(const QTemporaryDir& dir, const QString& nombre, const QByteArray& datos) {
    const QString ruta = dir.filePath(nombre);
    QFile f(ruta);
    f.open(QIODevice::WriteOnly);
    f.write(datos);
    return ruta;
}

}  // namespace

class TstMail : public QObject {
    Q_OBJECT

  private slots:
    void mensajeConAdjuntoLlegaIntacto() {
        SendmailDePrueba sendmail;
        QTemporaryDir dir;
        QByteArray binario;
        for (int i = 0; i < 3000; ++i) binario.append(static_cast<char>(i % 256));
        const QString ruta = archivoCon(dir, "DJ_Compañía_03-2024.rtf", binario);

        MailItem m;
        m.setTo("estudio@ejemplo.com.ar");
        m.setSubject("DJ_Compañía Ñandú_03/2024");
        m.setBody("Adjunto la declaración jurada.\nSaludos.");
        m.addAttachment(ruta);
        m.send();

        QCOMPARE(sendmail.mensajes(), 1);
        QCOMPARE(sendmail.argumentos(0), QByteArray("-t -i"));
        const QByteArray crudo = sendmail.mensaje(0);
        // The whole message is 7-bit: accented subject and body travel encoded.
        for (char c : crudo) QVERIFY(static_cast<unsigned char>(c) < 128);

        const auto leido = LeerMensaje(crudo);
        QVERIFY(leido.valido);
        QCOMPARE(leido.destinatarios, QStringList{"estudio@ejemplo.com.ar"});
        QCOMPARE(leido.asunto, QString("DJ_Compañía Ñandú_03/2024"));
        QCOMPARE(leido.cuerpo, QString("Adjunto la declaración jurada.\nSaludos."));
        QCOMPARE(leido.adjuntos.size(), 1);
        QCOMPARE(leido.adjuntos[0].nombre, QString("DJ_Compañía_03-2024.rtf"));
        QCOMPARE(leido.adjuntos[0].codificacion, QString("base64"));
        QCOMPARE(leido.adjuntos[0].datos, binario);
    }

    void variosDestinatariosYDosEnvios() {
        SendmailDePrueba sendmail;
        MailItem m;
        m.setTo("uno@ejemplo.com; dos@ejemplo.com");
        m.setSubject("Prueba");
        m.send();
        m.send();
        QCOMPARE(sendmail.mensajes(), 2);
        for (int n = 0; n < 2; ++n) {
            const auto leido = LeerMensaje(sendmail.mensaje(n));
            QCOMPARE(leido.destinatarios, (QStringList{"uno@ejemplo.com", "dos@ejemplo.com"}));
            QCOMPARE(leido.asunto, QString("Prueba"));
            QVERIFY(leido.adjuntos.isEmpty());
        }
    }

    void adjuntoInexistenteSeInformaYNoSeEnvia() {
        SendmailDePrueba sendmail;
        QTemporaryDir dir;
        MailItem m;
        m.setTo("estudio@ejemplo.com.ar");
        try {
            m.addAttachment(dir.filePath("no_existe.rtf"));
            QFAIL("se aceptó un adjunto inexistente");
        } catch (const MailError& e) {
            QCOMPARE(e.tipo(), MailError::Tipo::Adjunto);
            QVERIFY(e.mensaje().contains("no_existe.rtf"));
        }
        QVERIFY_THROWS_EXCEPTION(MailError, m.addAttachment(""));
        QVERIFY_THROWS_EXCEPTION(MailError, m.addAttachment(dir.path()));  // a folder
        QCOMPARE(m.attachmentCount(), 0);
        QCOMPARE(sendmail.mensajes(), 0);

        const QString ilegible = archivoCon(dir, "ilegible.rtf", "x");
        QFile::setPermissions(ilegible, QFile::WriteOwner);
        if (QFile(ilegible).open(QIODevice::ReadOnly)) QSKIP("running as root: file is readable");
        QVERIFY_THROWS_EXCEPTION(MailError, m.addAttachment(ilegible));
    }

    void destinatarioVacioOMalFormado() {
        SendmailDePrueba sendmail;
        for (const QString& to :
             {QString(""), QString("  "), QString("sin-arroba"), QString("@ejemplo.com")}) {
            MailItem m;
            m.setTo(to);
            try {
                m.send();
                QFAIL(qPrintable("se envió a '" + to + "'"));
            } catch (const MailError& e) {
                QCOMPARE(e.tipo(), MailError::Tipo::Destinatario);
            }
        }
        QCOMPARE(sendmail.mensajes(), 0);
    }

    void sendmailQueFallaDevuelveSuError() {
        SendmailDePrueba sendmail(75);
        MailItem m;
        m.setTo("estudio@ejemplo.com.ar");
        try {
            m.send();
            QFAIL("un fallo de sendmail se tomó como envío");
        } catch (const MailError& e) {
            QCOMPARE(e.tipo(), MailError::Tipo::Envio);
            QVERIFY(e.mensaje().contains("75"));
            QVERIFY(e.mensaje().contains("cola de correo llena"));
        }
    }

    void sinSendmailMensajeClaro() {
        if (QFileInfo("/usr/sbin/sendmail").isExecutable())
            QSKIP("this computer has /usr/sbin/sendmail");
        QTemporaryDir vacio;
        QTemporaryDir dir;
        const QString adjunto = archivoCon(dir, "DJ.rtf", "{\\rtf1}");
        const QByteArray anterior = qgetenv("PATH");
        qputenv("PATH", vacio.path().toUtf8());
        MailItem m;
        m.setTo("estudio@ejemplo.com.ar");
        m.addAttachment(adjunto);
        bool fallo = false;
        try {
            m.send();
        } catch (const MailError& e) {
            fallo = true;
            QCOMPARE(e.tipo(), MailError::Tipo::SinSendmail);
            QVERIFY(e.mensaje().contains("sendmail"));
        }
        qputenv("PATH", anterior);
        QVERIFY(fallo);
        QVERIFY(QFile::exists(adjunto));  // the exported file stays where it is
    }
};

QTEST_MAIN(TstMail)
#include "tst_mail.moc"
