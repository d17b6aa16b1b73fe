// The user tool's image list imlPass: the pictures of its four toolbar
// buttons, drawn by the program as vectors like the main toolbar's.
#pragma once

#include <QIcon>
#include <QObject>
#include <QStringList>

class QPainter;
class QRectF;

namespace users {

class PasswordImageList : public QObject {
    Q_OBJECT
public:
    explicit PasswordImageList(QObject* parent = nullptr);

    // "new", "edit", "delete", "save", in the list's order.
    const QStringList& keys() const { return keys_; }

    // The picture with this key, sharp at the usual button sizes; a null
    // icon for a key the list does not hold.
    QIcon icon(const QString& key) const;

private:
    QStringList keys_;
};

// Draws the picture with this key into rect. False for a key there is no
// picture for.
bool drawPicture(const QString& key, QPainter& painter, const QRectF& rect);

}  // namespace users
