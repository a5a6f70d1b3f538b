// The names a screen reader says for the wizard's controls: the labels placed just before the
// controls they name, and for the drawn controls, which have no caption of their own and no
// label just before them, what the gauges measure, what each text holds, and the pictures'
// alternative text.
#pragma once

namespace tk {
class Form;
}

namespace ui {

void NameDrawnControls(tk::Form& form);

}  // namespace ui
