// The main window's image list: the toolbar's pictures, drawn by the program
// itself so that they look the same on every desktop and stay sharp at any
// size.
#pragma once

#include <QIcon>
#include <QObject>
#include <QStringList>

class ImageList : public QObject {
    Q_OBJECT
public:
    explicit ImageList(QObject* parent = nullptr);

    // The picture keys, in the list's order.
    const QStringList& keys() const { return keys_; }
    bool contains(const QString& key) const { return keys_.contains(key); }

    // The picture with this key; a null icon for a key the list does not hold.
    QIcon icon(const QString& key) const;

private:
    QStringList keys_;
};

class QPainter;
class QRectF;

namespace pictures {

// Draws the picture with this key into rect (any size; drawn as vectors).
// Returns false for a key there is no picture for.
bool draw(const QString& key, QPainter& painter, const QRectF& rect);

}  // namespace pictures
