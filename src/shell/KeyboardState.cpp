#include "shell/KeyboardState.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#if defined(Q_OS_UNIX)
#include <dlfcn.h>
#endif

// The X server's keyboard indicators, read through the X connection Qt has
// already opened. The X library is loaded into the process by Qt's X11
// support; its functions are looked up there, so the program carries no X11
// link of its own and runs unchanged on other window systems.
struct KeyboardState::X11Reader {
#if QT_CONFIG(xcb) && defined(Q_OS_UNIX)
    using InternAtomFn = unsigned long (*)(Display*, const char*, int);
    using GetNamedIndicatorFn = int (*)(Display*, unsigned long, int*, int*, void*, int*);

    Display* display = nullptr;
    GetNamedIndicatorFn getNamedIndicator = nullptr;
    unsigned long capsAtom = 0;
    unsigned long numAtom = 0;

    static X11Reader* create()
    {
        auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (!x11 || !x11->display())
            return nullptr;
        auto internAtom = reinterpret_cast<InternAtomFn>(dlsym(RTLD_DEFAULT, "XInternAtom"));
        auto getNamed = reinterpret_cast<GetNamedIndicatorFn>(dlsym(RTLD_DEFAULT, "XkbGetNamedIndicator"));
        if (!internAtom || !getNamed)
            return nullptr;
        auto* r = new X11Reader;
        r->display = x11->display();
        r->getNamedIndicator = getNamed;
        r->capsAtom = internAtom(r->display, "Caps Lock", 0);
        r->numAtom = internAtom(r->display, "Num Lock", 0);
        bool caps = false;
        bool num = false;
        if (!r->read(caps, num)) {
            delete r;
            return nullptr;
        }
        return r;
    }

    bool readOne(unsigned long atom, bool& on) const
    {
        int index = 0;
        int state = 0;
        if (!atom || !getNamedIndicator(display, atom, &index, &state, nullptr, nullptr))
            return false;
        on = state != 0;
        return true;
    }

    // Both indicators, or false when the server has no such indicators.
    bool read(bool& caps, bool& num) const { return readOne(capsAtom, caps) && readOne(numAtom, num); }
#else
    static X11Reader* create() { return nullptr; }
    bool read(bool&, bool&) const { return false; }
#endif
};

KeyboardState::KeyboardState(QObject* parent) : QObject(parent)
{
    x11_ = X11Reader::create();
    refresh();
    QCoreApplication::instance()->installEventFilter(this);
}

KeyboardState::~KeyboardState()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    delete x11_;
}

bool KeyboardState::readsWindowSystem() const { return x11_ != nullptr; }

void KeyboardState::refresh()
{
    bool caps = caps_;
    bool num = num_;
    if (x11_ && x11_->read(caps, num))
        set(caps, num, insert_);
}

void KeyboardState::set(bool caps, bool num, bool insert)
{
    if (caps == caps_ && num == num_ && insert == insert_)
        return;
    caps_ = caps;
    num_ = num;
    insert_ = insert;
    emit changed();
}

bool KeyboardState::eventFilter(QObject* watched, QEvent* event)
{
    // A key event reaches its window first and is then passed down to the
    // focused widget and up its parents; looking at the window's delivery
    // only sees each key once.
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWindowType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool press = type == QEvent::KeyPress && !key->isAutoRepeat();
        switch (key->key()) {
        case Qt::Key_CapsLock:
            if (x11_)
                refresh();
            else if (press)
                set(!caps_, num_, insert_);
            break;
        case Qt::Key_NumLock:
            if (x11_)
                refresh();
            else if (press)
                set(caps_, !num_, insert_);
            break;
        case Qt::Key_Insert:
            if (press)
                set(caps_, num_, !insert_);
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
