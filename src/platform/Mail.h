#pragma once
// Sending one e-mail message with attachments, as the windows need it:
//
//     MailItem m;
//     m.setTo("estudio@ejemplo.com.ar");
//     m.setSubject("DJ_Empresa_03/2024");
//     m.setBody("...");                  // optional
//     m.addAttachment("/ruta/archivo.rtf");
//     m.send();
//
// The message is composed as proper MIME (headers encoded for accented text, each attachment
// in base64 under its own file name) and handed to the system's `sendmail -t -i`, found on
// PATH or at /usr/sbin/sendmail; the mail transport the user configured does the rest.
//
// Errors: addAttachment() and send() throw MailError with a Spanish text ready to show the
// user (MsgBox(e.mensaje(), ...)). Nothing is sent when an error is thrown. An attachment that
// does not exist or cannot be read fails at addAttachment() (its bytes are read right there,
// so a later change to the file does not alter the message). send() fails for an empty or
// malformed recipient, when no sendmail exists, when it cannot be started or does not finish,
// and when it exits with a non-zero code (its own error output is part of the text). The
// files given as attachments are never moved or deleted.

#include <QByteArray>
#include <QString>
#include <stdexcept>
#include <vector>

namespace zul {

class MailError : public std::runtime_error {
  public:
    enum class Tipo {
        Destinatario,  // empty or malformed "To"
        Adjunto,       // attachment missing or unreadable
        SinSendmail,   // no sendmail on this computer
        Envio          // sendmail could not start, did not finish or reported a failure
    };
    MailError(Tipo tipo, const QString& mensaje);
    Tipo tipo() const { return tipo_; }
    QString mensaje() const { return mensaje_; }

  private:
    Tipo tipo_;
    QString mensaje_;
};

class MailItem {
  public:
    // One or more addresses; "," or ";" separate them.
    void setTo(const QString& destinatario) { to_ = destinatario; }
    void setSubject(const QString& asunto) { subject_ = asunto; }
    void setBody(const QString& cuerpo) { body_ = cuerpo; }
    QString to() const { return to_; }
    QString subject() const { return subject_; }
    QString body() const { return body_; }

    // Reads the file now; throws MailError (Tipo::Adjunto) when it is missing or unreadable.
    void addAttachment(const QString& ruta);
    int attachmentCount() const { return static_cast<int>(adjuntos_.size()); }

    // Composes the message and hands it to sendmail; returns once sendmail accepted it.
    // May be called again: each call sends one more message with the same fields.
    void send() const;

    // The composed message as sendmail receives it (also used by send()).
    QByteArray composeMessage() const;

    // The sendmail program to use: PATH first, then /usr/sbin/sendmail; "" when none exists.
    static QString sendmailPath();

  private:
    struct Adjunto {
        QString nombre;
        QByteArray datos;
    };
    QString to_;
    QString subject_;
    QString body_;
    std::vector<Adjunto> adjuntos_;
};

}  // namespace zul
