#include "shell/Windows.h"

#include "platform/Dialogs.h"
#include "platform/Twips.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <map>

QuorvaneForm::QuorvaneForm(QWidget* parent) : QWidget(parent) {}

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
