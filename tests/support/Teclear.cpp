#include "support/Teclear.h"

#include <QTest>

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

}  // namespace zul::prueba
