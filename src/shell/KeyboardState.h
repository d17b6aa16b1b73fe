// The keyboard's lock states for the status bar: Caps Lock, Num Lock and
// the Insert (overtype) state.
//
// Under X11 the Caps Lock and Num Lock states are read from the X server's
// keyboard indicators, so they are right even when the lock was set before
// the program started or in another program. Where the window system does
// not tell (Wayland, the offscreen platform), they are tracked from the lock
// keys pressed in this program. The Insert state exists only in the program:
// each press of the Insert key toggles it.
#pragma once

#include <QObject>

class KeyboardState : public QObject {
    Q_OBJECT
public:
    explicit KeyboardState(QObject* parent = nullptr);
    ~KeyboardState() override;

    bool capsLock() const { return caps_; }
    bool numLock() const { return num_; }
    bool insert() const { return insert_; }

    // True when the lock states come from the window system.
    bool readsWindowSystem() const;

    // Reads the lock states from the window system again, if it tells them.
    void refresh();

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void set(bool caps, bool num, bool insert);

    bool caps_ = false;
    bool num_ = false;
    bool insert_ = false;
    struct X11Reader;
    X11Reader* x11_ = nullptr;
};
