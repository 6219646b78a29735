#include "platform/Mail.h"

// GLib names a struct member "signals", which Qt defines as a keyword macro.
#pragma push_macro("signals")
#undef signals
#include <gmime/gmime.h>
#pragma pop_macro("signals")

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>
#include <mutex>

#include "platform/MsgBox.h"

namespace zul {

namespace {

// A sendmail that neither finishes nor fails must not freeze the window forever.
constexpr int kEsperaSendmailMs = 120000;

void iniciarGMime() {
    static std::once_flag una;
    std::call_once(una, [] { g_mime_init(); });
}

// Drops a GObject reference when leaving scope.
template <typename T>
struct Ref {
    T* p;
    explicit Ref(T* q) : p(q) {}
    ~Ref() {
        if (p) g_object_unref(p);
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
};

QString sinSaltos(const QString& texto) {
    QString t = texto;
    t.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return t;
}

// The recipients as GMime reads them; Outlook users separate addresses with ";".
InternetAddressList* leerDestinatarios(const QString& texto) {
    QString t = sinSaltos(texto).trimmed();
    t.replace(QLatin1Char(';'), QLatin1Char(','));
    if (t.isEmpty() || t == QLatin1String(","))
        throw MailError(MailError::Tipo::Destinatario, "Debe indicar el destinatario del correo.");
    const QByteArray utf8 = t.toUtf8();
    InternetAddressList* lista = internet_address_list_parse(nullptr, utf8.constData());
    bool valida = lista && internet_address_list_length(lista) > 0;
    for (int i = 0; valida && i < internet_address_list_length(lista); ++i) {
        InternetAddress* a = internet_address_list_get_address(lista, i);
        if (!INTERNET_ADDRESS_IS_MAILBOX(a)) continue;
        const char* addr = internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(a));
        const QString direccion = QString::fromUtf8(addr ? addr : "");
        const auto arroba = direccion.indexOf(QLatin1Char('@'));
        valida = arroba > 0 && arroba < direccion.size() - 1;
    }
    if (!valida) {
        if (lista) g_object_unref(lista);
        throw MailError(MailError::Tipo::Destinatario,
                        QString("La dirección de correo no es válida: %1").arg(texto.trimmed()));
    }
    return lista;
}

}  // namespace

MailError::MailError(Tipo tipo, const QString& mensaje)
    : std::runtime_error(mensaje.toStdString()), tipo_(tipo), mensaje_(mensaje) {}

void MailItem::addAttachment(const QString& ruta) {
    const QFileInfo info(ruta);
    if (ruta.trimmed().isEmpty())
        throw MailError(MailError::Tipo::Adjunto, "Debe indicar el archivo adjunto.");
    if (!info.exists() || !info.isFile())
        throw MailError(MailError::Tipo::Adjunto,
                        QString("No existe el archivo adjunto: %1").arg(ruta));
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        throw MailError(
            MailError::Tipo::Adjunto,
            QString("No se puede leer el archivo adjunto %1: %2").arg(ruta, CausaDeArchivo(f)));
    QByteArray datos = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw MailError(
            MailError::Tipo::Adjunto,
            QString("No se puede leer el archivo adjunto %1: %2").arg(ruta, CausaDeArchivo(f)));
    adjuntos_.push_back({info.fileName(), std::move(datos)});
}

QByteArray MailItem::composeMessage() const {
    iniciarGMime();
    Ref<InternetAddressList> destinatarios(leerDestinatarios(to_));

    Ref<GMimeMessage> mensaje(g_mime_message_new(TRUE));
    internet_address_list_append(g_mime_message_get_to(mensaje.p), destinatarios.p);
    g_mime_message_set_subject(mensaje.p, sinSaltos(subject_).toUtf8().constData(), "utf-8");
    GDateTime* ahora = g_date_time_new_now_local();
    g_mime_message_set_date(mensaje.p, ahora);
    g_date_time_unref(ahora);
    char* id = g_mime_utils_generate_message_id(QSysInfo::machineHostName().toUtf8().constData());
    g_mime_message_set_message_id(mensaje.p, id);
    g_free(id);

    Ref<GMimeTextPart> texto(g_mime_text_part_new_with_subtype("plain"));
    {
        // Always UTF-8, and 7-bit on the wire: quoted-printable whenever the text needs it.
        const QByteArray cuerpo = body_.toUtf8();
        Ref<GMimeStream> flujo(
            g_mime_stream_mem_new_with_buffer(cuerpo.constData(), cuerpo.size()));
        Ref<GMimeDataWrapper> contenido(
            g_mime_data_wrapper_new_with_stream(flujo.p, GMIME_CONTENT_ENCODING_DEFAULT));
        g_mime_part_set_content(GMIME_PART(texto.p), contenido.p);
        g_mime_text_part_set_charset(texto.p, "utf-8");
        g_mime_part_set_content_encoding(GMIME_PART(texto.p),
                                         g_mime_part_get_best_content_encoding(
                                             GMIME_PART(texto.p), GMIME_ENCODING_CONSTRAINT_7BIT));
    }

    if (adjuntos_.empty()) {
        g_mime_message_set_mime_part(mensaje.p, GMIME_OBJECT(texto.p));
    } else {
        Ref<GMimeMultipart> mixto(g_mime_multipart_new_with_subtype("mixed"));
        g_mime_multipart_add(mixto.p, GMIME_OBJECT(texto.p));
        QMimeDatabase tipos;
        for (const Adjunto& a : adjuntos_) {
            const QStringList tipo =
                tipos.mimeTypeForFileNameAndData(a.nombre, a.datos).name().split(QLatin1Char('/'));
            Ref<GMimePart> parte(
                g_mime_part_new_with_type(tipo.value(0, "application").toUtf8().constData(),
                                          tipo.value(1, "octet-stream").toUtf8().constData()));
            Ref<GMimeStream> flujo(
                g_mime_stream_mem_new_with_buffer(a.datos.constData(), a.datos.size()));
            Ref<GMimeDataWrapper> contenido(
                g_mime_data_wrapper_new_with_stream(flujo.p, GMIME_CONTENT_ENCODING_DEFAULT));
            g_mime_part_set_content(parte.p, contenido.p);
            g_mime_part_set_content_encoding(parte.p, GMIME_CONTENT_ENCODING_BASE64);
            g_mime_part_set_filename(parte.p, a.nombre.toUtf8().constData());
            g_mime_multipart_add(mixto.p, GMIME_OBJECT(parte.p));
        }
        g_mime_message_set_mime_part(mensaje.p, GMIME_OBJECT(mixto.p));
    }

    Ref<GMimeStream> salida(g_mime_stream_mem_new());
    GMimeFormatOptions* formato = g_mime_format_options_clone(nullptr);
    g_mime_format_options_set_newline_format(formato, GMIME_NEWLINE_FORMAT_UNIX);
    g_mime_object_write_to_stream(GMIME_OBJECT(mensaje.p), formato, salida.p);
    g_mime_format_options_free(formato);
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(salida.p));
    return QByteArray(reinterpret_cast<const char*>(bytes->data), static_cast<int>(bytes->len));
}

QString MailItem::sendmailPath() {
    const QString enPath = QStandardPaths::findExecutable("sendmail");
    if (!enPath.isEmpty()) return enPath;
    const QFileInfo sistema("/usr/sbin/sendmail");
    if (sistema.isFile() && sistema.isExecutable()) return sistema.filePath();
    return {};
}

void MailItem::send() const {
    const QByteArray mensaje = composeMessage();
    const QString programa = sendmailPath();
    if (programa.isEmpty())
        throw MailError(MailError::Tipo::SinSendmail,
                        "No se encontró el programa sendmail para enviar el correo.\n"
                        "Instale o configure el envío de correo del sistema e intente nuevamente.");

    QProcess proceso;
    proceso.start(programa, {"-t", "-i"});
    if (!proceso.waitForStarted())
        throw MailError(MailError::Tipo::Envio,
                        QString("No se pudo ejecutar %1: el programa no arranca. Revise la "
                                "instalación del envío de correo del sistema.")
                            .arg(programa));
    proceso.write(mensaje);
    proceso.closeWriteChannel();
    if (!proceso.waitForFinished(kEsperaSendmailMs)) {
        proceso.kill();
        proceso.waitForFinished();
        throw MailError(MailError::Tipo::Envio,
                        QString("El envío del correo no terminó (%1).").arg(programa));
    }
    if (proceso.exitStatus() != QProcess::NormalExit || proceso.exitCode() != 0) {
        const QString detalle = QString::fromLocal8Bit(proceso.readAllStandardError()).trimmed();
        QString texto = proceso.exitStatus() != QProcess::NormalExit
                            ? QString("El envío del correo falló: %1 se interrumpió.").arg(programa)
                            : QString("El envío del correo falló (%1 terminó con código %2).")
                                  .arg(programa)
                                  .arg(proceso.exitCode());
        if (!detalle.isEmpty()) texto += "\n" + detalle;
        throw MailError(MailError::Tipo::Envio, texto);
    }
}

}  // namespace zul
