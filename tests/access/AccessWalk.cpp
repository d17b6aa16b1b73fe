#include "access/AccessWalk.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QObject>
#include <QTest>
#include <QWidget>

#include <map>

namespace access_walk {

namespace {

// The roles a clerk acts on, or that stand for a whole window; each needs a
// name to be told apart.
bool needsName(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::ButtonDropGrid:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::PopupMenu:
    case QAccessible::MenuItem:
    case QAccessible::PageTab:
    case QAccessible::Link:
    case QAccessible::HotkeyField:
    case QAccessible::Window:
    case QAccessible::Dialog:
    case QAccessible::AlertMessage:
        return true;
    default:
        return false;
    }
}

// Rows, cells and the drop-down list are the data of these, not controls.
bool holdsData(QAccessible::Role role)
{
    return role == QAccessible::List || role == QAccessible::Table || role == QAccessible::Tree ||
           role == QAccessible::ComboBox;
}

bool inClosedMenu(QAccessible::Role role) { return role == QAccessible::MenuItem || role == QAccessible::PopupMenu; }

QString label(QAccessibleInterface* iface)
{
    QObject* o = iface->object();
    if (!o)
        return QStringLiteral("?");
    return o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName();
}

// On Linux Qt gives a pick list the entry shown as its name and leaves its
// label to a relation; a list without entries, or a screen reader that reads
// only names, needs the label all the same.
bool pickListIsLabelled(QAccessibleInterface* iface)
{
    auto* w = qobject_cast<QWidget*>(iface->object());
    if (w && !w->accessibleName().isEmpty())
        return true;
    return !iface->relations(QAccessible::Label).isEmpty();
}

void walk(QAccessibleInterface* iface, const QString& path, int depth, QStringList& out)
{
    if (!iface || depth > 40)
        return;
    const QAccessible::Role role = iface->role();
    if (iface->state().invisible && !inClosedMenu(role))
        return;
    const QString here = path + QLatin1Char('/') + label(iface);
    if (needsName(role)) {
        const bool named = !iface->text(QAccessible::Name).trimmed().isEmpty() &&
                           (role != QAccessible::ComboBox || pickListIsLabelled(iface));
        if (!named)
            out << QStringLiteral("%1 (role 0x%2)").arg(here).arg(int(role), 0, 16);
    }
    if (holdsData(role))
        return;
    for (int i = 0; i < iface->childCount(); ++i)
        walk(iface->child(i), here, depth + 1, out);
}

// A control's object name; a tool button made by its bar goes by its caption.
QString controlName(QWidget* w)
{
    if (!w)
        return QStringLiteral("(none)");
    if (w->objectName().isEmpty())
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            return button->text();
    return w->objectName();
}

}  // namespace

int accessKey(const QString& caption)
{
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    return mnemonic.isEmpty() ? 0 : mnemonic[0].key();
}

QStringList unnamedControls(QObject* root)
{
    QStringList out;
    walk(QAccessible::queryAccessibleInterface(root), QString(), 0, out);
    return out;
}

QString nameOf(QObject* object)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QString();
}

int roleOf(QObject* object)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? int(iface->role()) : -1;
}

QList<QWidget*> tabStops(QWidget* window)
{
    auto isStop = [window](QWidget* w) {
        return !w->isWindow() && w->isVisibleTo(window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
               !w->focusProxy();
    };
    QList<QWidget*> stops;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!isStop(w))
            continue;
        bool part = false;
        for (QWidget* up = w->parentWidget(); up && up != window && !part; up = up->parentWidget())
            part = isStop(up);
        if (!part)
            stops << w;
    }
    return stops;
}

QList<QWidget*> tabRound(QWidget* window, QWidget* start)
{
    start->setFocus(Qt::TabFocusReason);
    QList<QWidget*> visited{QApplication::focusWidget()};
    const int limit = 2 * static_cast<int>(tabStops(window).size()) + 2;
    for (int i = 0; i < limit; ++i) {
        QWidget* from = QApplication::focusWidget();
        if (!from)
            break;
        QTest::keyClick(from, Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now || now == start)
            break;
        visited << now;
        if (now != window && !window->isAncestorOf(now))
            break;
    }
    return visited;
}

QStringList names(const QList<QWidget*>& widgets)
{
    QStringList out;
    for (QWidget* w : widgets)
        out << controlName(w);
    return out;
}

QList<Keyed> keyedControls(QWidget* window)
{
    QList<Keyed> out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        if (auto* caption = qobject_cast<QLabel*>(w)) {
            QWidget* box = caption->buddy();
            if (box && box->isVisibleTo(window))
                if (const int key = accessKey(caption->text()))
                    out.append({box, key});
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (const int key = accessKey(button->text()))
                out.append({button, key});
        }
    }
    return out;
}

QStringList sharedAccessKeys(QWidget* window)
{
    std::map<int, QStringList> byKey;
    for (const Keyed& k : keyedControls(window))
        byKey[k.key] << controlName(k.control);
    QStringList out;
    for (auto& [key, controls] : byKey) {
        if (controls.size() < 2)
            continue;
        controls.sort();
        out << QKeySequence(key).toString() + QStringLiteral(": ") + controls.join(QLatin1Char(' '));
    }
    return out;
}

}  // namespace access_walk
