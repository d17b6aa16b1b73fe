// Walks a window as a screen reader meets it, through Qt's accessibility
// interfaces, and as a keyboard user meets it, through Tab and Alt.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QObject;
class QWidget;

namespace access_walk {

// The controls a screen reader would announce without a name, one line each:
// the path of object names from root, and the role. Walks the tree through
// each interface's children; rows and cells of lists and grids are their
// data, and are not walked. Hidden controls are not met, but the items of a
// closed menu are.
QStringList unnamedControls(QObject* root);

// The key that Alt reaches a control by, from its caption's "&" mark; 0 for
// none.
int accessKey(const QString& caption);

// The accessible name and role of one object, as a screen reader gets them.
QString nameOf(QObject* object);
int roleOf(QObject* object);

// The controls Tab stops on inside the window: shown, enabled and taking the
// focus by Tab (the parts inside such a control are the control's own).
QList<QWidget*> tabStops(QWidget* window);

// Presses Tab, starting with the focus on start, until the focus comes back
// to start, leaves the window, or has gone round more than twice the window's
// stops. The controls the focus stood on, in order, start first; a control
// outside the window ends the list.
QList<QWidget*> tabRound(QWidget* window, QWidget* start);

// Object names of the widgets, for messages.
QStringList names(const QList<QWidget*>& widgets);

// The access keys that two or more of the window's own shown controls carry
// (button captions and the captions of boxes), as "E: cmdEdit lblNew".
QStringList sharedAccessKeys(QWidget* window);

// The shown controls of the window that carry an access key: the buttons and
// the boxes named by a caption, each with its key.
struct Keyed {
    QWidget* control;
    int key;
};
QList<Keyed> keyedControls(QWidget* window);

}  // namespace access_walk
