// Key presses of a control, as character codes: the handler sees 13 for
// Enter and may set the code to 0 to swallow the key. Auto-repeated keys are
// passed on like any other, except that an auto-repeated Enter is swallowed,
// so that holding Enter on a button presses it once.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace keys {

constexpr int vbKeyReturn = 13;

using Handler = std::function<void(int& keyAscii)>;

// Calls handler for every key press in widget that carries a character.
void onKeyPress(QWidget* widget, Handler handler);

// Enter moves the focus to the next control; the key is then used up.
// Other keys are left as they are.
void enterMovesFocus(int& keyAscii, QWidget* next);

// Makes Enter on a focused button press it, once per key press.
void pressOnEnter(QWidget* button);

}  // namespace keys
