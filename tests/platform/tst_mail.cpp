// The mail item through a stand-in sendmail that keeps each message it receives; the messages
// are parsed back with GMime.

#pragma push_macro("signals")
#undef signals
#include <gmime/gmime.h>
#pragma pop_macro("signals")

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/Mail.h"

using namespace zul;

namespace {

// Puts an executable "sendmail" first on PATH; it stores its arguments and stdin in numbered
// files of the same folder, or fails with a message when told to.
class SendmailDePrueba {
  public:
    explicit SendmailDePrueba(int codigoSalida = 0) : pathAnterior_(qgetenv("PATH")) {
        const QString script = dir_.filePath("sendmail");
        QFile f(script);
        f.open(QIODevice::WriteOnly);
        f.write(QString("#!/bin/sh\n"
                        "d=\"$(dirname \"$0\")\"\n"
                        "n=$(ls \"$d\" | grep -c '^mensaje')\n"
                        "echo \"$@\" > \"$d/args$n\"\n"
                        "cat > \"$d/mensaje$n\"\n"
                        "if [ %1 -ne 0 ]; then echo 'cola de correo llena' >&2; fi\n"
                        "exit %1\n")
                    .arg(codigoSalida)
                    .toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", (dir_.path() + ":").toUtf8() + pathAnterior_);
    }
    ~SendmailDePrueba() { qputenv("PATH", pathAnterior_); }

    int mensajes() const { return QDir(dir_.path()).entryList({"mensaje*"}, QDir::Files).size(); }
    QByteArray mensaje(int n) const { return leer("mensaje" + QString::number(n)); }
    QByteArray argumentos(int n) const { return leer("args" + QString::number(n)).trimmed(); }

  private:
    QByteArray leer(const QString& nombre) const {
        QFile f(dir_.filePath(nombre));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    QTemporaryDir dir_;
    QByteArray pathAnterior_;
};

struct MensajeLeido {
    GMimeMessage* msg = nullptr;
    explicit MensajeLeido(const QByteArray& bytes) {
        GMimeStream* flujo = g_mime_stream_mem_new_with_buffer(bytes.constData(), bytes.size());
        GMimeParser* parser = g_mime_parser_new_with_stream(flujo);
        msg = g_mime_parser_construct_message(parser, nullptr);
        g_object_unref(parser);
        g_object_unref(flujo);
    }
    ~MensajeLeido() {
        if (msg) g_object_unref(msg);
    }
    QStringList destinatarios() const {
        QStringList r;
        InternetAddressList* l = g_mime_message_get_to(msg);
        for (int i = 0; i < internet_address_list_length(l); ++i)
            r << QString::fromUtf8(internet_address_mailbox_get_addr(
                INTERNET_ADDRESS_MAILBOX(internet_address_list_get_address(l, i))));
        return r;
    }
    QString asunto() const { return QString::fromUtf8(g_mime_message_get_subject(msg)); }
    // Parts of the message in order: the body first, then the attachments.
    QList<GMimeObject*> partes() const {
        QList<GMimeObject*> r;
        GMimeObject* raiz = g_mime_message_get_mime_part(msg);
        if (GMIME_IS_MULTIPART(raiz)) {
            for (int i = 0; i < g_mime_multipart_get_count(GMIME_MULTIPART(raiz)); ++i)
                r << g_mime_multipart_get_part(GMIME_MULTIPART(raiz), i);
        } else {
            r << raiz;
        }
        return r;
    }
    static QByteArray contenido(GMimeObject* parte) {
        GMimeStream* salida = g_mime_stream_mem_new();
        g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(GMIME_PART(parte)), salida);
        GByteArray* b = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(salida));
        QByteArray r(reinterpret_cast<const char*>(b->data), static_cast<int>(b->len));
        g_object_unref(salida);
        return r;
    }
};

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
    void initTestCase() { g_mime_init(); }

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
        // Headers stay 7-bit: the accented subject travels encoded.
        const QByteArray cabecera = crudo.left(crudo.indexOf("\n\n"));
        for (char c : cabecera) QVERIFY(static_cast<unsigned char>(c) < 128);

        MensajeLeido leido(crudo);
        QVERIFY(leido.msg);
        QCOMPARE(leido.destinatarios(), QStringList{"estudio@ejemplo.com.ar"});
        QCOMPARE(leido.asunto(), QString("DJ_Compañía Ñandú_03/2024"));
        const auto partes = leido.partes();
        QCOMPARE(partes.size(), 2);
        QVERIFY(GMIME_IS_TEXT_PART(partes[0]));
        char* cuerpo = g_mime_text_part_get_text(GMIME_TEXT_PART(partes[0]));
        const QString textoCuerpo = QString::fromUtf8(cuerpo);
        g_free(cuerpo);
        QCOMPARE(textoCuerpo, QString("Adjunto la declaración jurada.\nSaludos."));
        GMimePart* adjunto = GMIME_PART(partes[1]);
        QVERIFY(g_mime_part_is_attachment(adjunto));
        QCOMPARE(QString::fromUtf8(g_mime_part_get_filename(adjunto)),
                 QString("DJ_Compañía_03-2024.rtf"));
        QCOMPARE(g_mime_part_get_content_encoding(adjunto), GMIME_CONTENT_ENCODING_BASE64);
        QCOMPARE(MensajeLeido::contenido(partes[1]), binario);
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
            MensajeLeido leido(sendmail.mensaje(n));
            QCOMPARE(leido.destinatarios(), (QStringList{"uno@ejemplo.com", "dos@ejemplo.com"}));
            QCOMPARE(leido.asunto(), QString("Prueba"));
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
