#pragma once
// Typing and clicking as the user does, accented letters included (QTest::keyClicks knows only
// ASCII), and message boxes as modal as the real ones.

#include <QString>

class QWidget;

namespace zul::prueba {

// One key press and release per character, each carrying its text.
void Teclear(QWidget* control, const QString& texto);

// A left click. A message box that comes up while the button is held is modal: the release
// goes to the box, never to the control pressed.
void Clic(QWidget* control);

}  // namespace zul::prueba
