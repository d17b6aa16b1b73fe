// The task windows and the one place that opens them. Each window kind
// exists at most once. show() brings an open window forward unchanged, or
// creates it, runs its loading step and shows it; reopen() closes an open one
// first, so that its loading step runs anew with the settings just made.
#pragma once

#include <QPointer>
#include <QWidget>

#include <typeindex>
#include <typeinfo>

class QMdiArea;
class QMdiSubWindow;

// A task window: a child window of the main window with a loading step and a
// closing step, which runs whenever the window closes, by any means.
class QuorvaneForm : public QWidget {
    Q_OBJECT
public:
    explicit QuorvaneForm(QWidget* parent = nullptr);

    virtual void Form_Load() {}
    virtual void Form_Unload() {}

    // Closes the window; its closing step runs.
    void Unload();
    bool isUnloaded() const { return unloaded_; }

    // The window's outer size, frame included, in twips.
    void setOuterSizeTwips(int width, int height);
    void setCaption(const QString& caption);
    QString caption() const;

    // The frame that holds the window inside the main window, if any.
    QMdiSubWindow* subWindow() const;

    // The control that Alt and this key reach in the window: a caption's box
    // or a button whose access key it is, visible and enabled; the next one
    // after the focus when several share the key. nullptr for none.
    QWidget* accessKeyTarget(int key) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool unloaded_ = false;
};

namespace windows {

// The main window's document area, where task windows open.
void setMdiArea(QMdiArea* area);
QMdiArea* mdiArea();

namespace detail {
QPointer<QuorvaneForm>& slot(std::type_index kind);
void attach(QuorvaneForm* form);
void present(QuorvaneForm* form);
void bringForward(QuorvaneForm* form);
}  // namespace detail

template <class W>
W* find()
{
    QuorvaneForm* f = detail::slot(std::type_index(typeid(W))).data();
    if (!f || f->isUnloaded())
        return nullptr;
    return static_cast<W*>(f);
}

template <class W>
W* show()
{
    if (W* open = find<W>()) {
        detail::bringForward(open);
        return open;
    }
    W* w = new W();
    const QPointer<QuorvaneForm> alive(w);
    detail::slot(std::type_index(typeid(W))) = w;
    detail::attach(w);
    // A loading step that lets events run may see its window closed.
    w->Form_Load();
    if (!alive || w->isUnloaded())
        return nullptr;
    detail::present(w);
    return w;
}

template <class W>
W* reopen()
{
    if (W* open = find<W>())
        open->Unload();
    return show<W>();
}

template <class W>
void close()
{
    if (W* open = find<W>())
        open->Unload();
}

// Closes every task window (their closing steps run).
void closeAll();

}  // namespace windows
