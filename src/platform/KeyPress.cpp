#include "platform/KeyPress.h"

#include "platform/Dialogs.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWidget>

namespace keys {

namespace {

class KeyPressFilter : public QObject {
public:
    KeyPressFilter(QObject* parent, Handler handler) : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        auto* ke = static_cast<QKeyEvent*>(event);
        int code = 0;
        if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
            if (ke->isAutoRepeat())
                return true;
            code = vbKeyReturn;
        } else if (ke->modifiers() & Qt::AltModifier && !(ke->modifiers() & Qt::ControlModifier)) {
            // Alt with a key is a command (an access key, a menu), never a
            // typed character. Control with Alt is AltGr on some keyboards,
            // which does type.
            return false;
        } else if (!ke->text().isEmpty()) {
            code = ke->text().at(0).unicode();
        } else {
            return false;
        }
        try {
            handler_(code);
        } catch (const std::exception& e) {
            dialogs::reportError(e);
            return true;
        }
        return code == 0 || code == vbKeyReturn;
    }

private:
    Handler handler_;
};

}  // namespace

void onKeyPress(QWidget* widget, Handler handler)
{
    widget->installEventFilter(new KeyPressFilter(widget, std::move(handler)));
}

void enterMovesFocus(int& keyAscii, QWidget* next)
{
    if (keyAscii != vbKeyReturn)
        return;
    keyAscii = 0;
    next->setFocus();
}

void pressOnEnter(QWidget* button)
{
    auto* b = qobject_cast<QAbstractButton*>(button);
    if (!b)
        return;
    onKeyPress(b, [b](int& key) {
        if (key == vbKeyReturn && b->isEnabled())
            b->click();
    });
}

}  // namespace keys
