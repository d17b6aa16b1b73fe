#include "shell/Windows.h"

#include "platform/Dialogs.h"
#include "platform/Twips.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <map>

namespace {

// The task windows' access keys come before the main window's menus. Both
// live in one top-level window, so Alt and V would otherwise be shared by a
// caption's "&Video ..." and the "&View" menu, and Qt takes turns between
// them instead of moving to the box. While the focus is inside a task
// window, an access key of that window is its own.
class AccessKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
            return false;
        QuorvaneForm* form = nullptr;
        for (auto* w = qobject_cast<QWidget*>(watched); w && !form; w = w->parentWidget())
            form = qobject_cast<QuorvaneForm*>(w);
        if (!form)
            return false;
        QWidget* target = form->accessKeyTarget(key->key());
        if (!target)
            return false;
        event->accept();
        if (event->type() == QEvent::KeyPress) {
            target->setFocus(Qt::ShortcutFocusReason);
            if (auto* button = qobject_cast<QAbstractButton*>(target))
                button->click();
        }
        return true;
    }
};

bool sameAccessKey(const QString& caption, int key)
{
    return !caption.isEmpty() && QKeySequence::mnemonic(caption) == QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(key)));
}

}  // namespace

QuorvaneForm::QuorvaneForm(QWidget* parent) : QWidget(parent)
{
    static AccessKeys* filter = [] {
        auto* f = new AccessKeys(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(f);
        return f;
    }();
    Q_UNUSED(filter);
}

QWidget* QuorvaneForm::accessKeyTarget(int key) const
{
    if (!((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)))
        return nullptr;
    QList<QWidget*> targets;
    for (QWidget* w : findChildren<QWidget*>()) {
        if (!w->isVisibleTo(this))
            continue;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            QWidget* buddy = label->buddy();
            if (buddy && buddy->isEnabled() && buddy->isVisibleTo(this) && sameAccessKey(label->text(), key))
                targets << buddy;
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (button->isEnabled() && sameAccessKey(button->text(), key))
                targets << button;
        }
    }
    if (targets.isEmpty())
        return nullptr;
    // Several controls share the key: each press moves on to the next.
    const qsizetype at = targets.indexOf(focusWidget());
    return targets[(at + 1) % targets.size()];
}

QMdiSubWindow* QuorvaneForm::subWindow() const { return qobject_cast<QMdiSubWindow*>(parentWidget()); }

void QuorvaneForm::Unload()
{
    if (unloaded_)
        return;
    if (QMdiSubWindow* sub = subWindow())
        sub->close();
    else
        close();
}

void QuorvaneForm::closeEvent(QCloseEvent* event)
{
    if (!unloaded_) {
        unloaded_ = true;
        try {
            Form_Unload();
        } catch (const std::exception& e) {
            dialogs::reportError(e);
        }
    }
    event->accept();
    if (!subWindow())
        deleteLater();
}

void QuorvaneForm::setOuterSizeTwips(int width, int height)
{
    const QSize outer = twips::size(width, height);
    if (QMdiSubWindow* sub = subWindow())
        sub->resize(outer);
    else
        resize(outer);
}

void QuorvaneForm::setCaption(const QString& caption)
{
    setWindowTitle(caption);
    if (QMdiSubWindow* sub = subWindow())
        sub->setWindowTitle(caption);
}

QString QuorvaneForm::caption() const { return windowTitle(); }

namespace windows {

namespace {
QPointer<QMdiArea> g_area;
std::map<std::type_index, QPointer<QuorvaneForm>>& openForms()
{
    static std::map<std::type_index, QPointer<QuorvaneForm>> m;
    return m;
}
}  // namespace

void setMdiArea(QMdiArea* area) { g_area = area; }
QMdiArea* mdiArea() { return g_area.data(); }

namespace detail {

QPointer<QuorvaneForm>& slot(std::type_index kind) { return openForms()[kind]; }

void attach(QuorvaneForm* form)
{
    if (g_area) {
        QMdiSubWindow* sub = g_area->addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(form->windowTitle());
    } else {
        form->setAttribute(Qt::WA_DeleteOnClose);
    }
}

void present(QuorvaneForm* form)
{
    if (QMdiSubWindow* sub = form->subWindow()) {
        sub->show();
        if (g_area)
            g_area->setActiveSubWindow(sub);
    } else {
        form->show();
        form->activateWindow();
    }
}

void bringForward(QuorvaneForm* form)
{
    if (QMdiSubWindow* sub = form->subWindow()) {
        sub->showNormal();
        sub->raise();
        if (g_area)
            g_area->setActiveSubWindow(sub);
    } else {
        form->showNormal();
        form->raise();
        form->activateWindow();
    }
}

}  // namespace detail

void closeAll()
{
    for (auto& [kind, form] : openForms())
        if (form && !form->isUnloaded())
            form->Unload();
}

}  // namespace windows
