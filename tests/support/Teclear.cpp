#include "support/Teclear.h"

#include <QPointer>
#include <QTest>
#include <QWidget>

#include "platform/MsgBox.h"

namespace zul::prueba {

void Teclear(QWidget* control, const QString& texto) {
    for (QChar c : texto) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(control, c.toLatin1());
            continue;
        }
        // A key with no key code of its own, as a keyboard layout's dead keys produce.
        QTest::sendKeyEvent(QTest::Press, control, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, control, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void Clic(QWidget* control) {
    QPointer<QWidget> c(control);
    QPointer<QWidget> ventana(control->window());
    const qsizetype antes = msgbox_prueba::mostrados().size();
    QTest::mousePress(control, Qt::LeftButton);
    if (msgbox_prueba::mostrados().size() == antes) {
        if (c) QTest::mouseRelease(c, Qt::LeftButton);
        return;
    }
    {
        // Stands for the box while it is up.
        QWidget caja;
        caja.setWindowModality(Qt::ApplicationModal);
        caja.show();
        QTest::mouseRelease(&caja, Qt::LeftButton);
    }
    // Answered, the box gives the activation back.
    if (ventana && ventana->isVisible()) {
        ventana->activateWindow();
        if (!QTest::qWaitForWindowActive(ventana)) qWarning("la ventana no volvió a activarse");
    }
}

}  // namespace zul::prueba
