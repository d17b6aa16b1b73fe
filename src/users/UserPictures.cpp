#include "users/UserPictures.h"

#include "shell/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace users {

namespace {

// Drawn on a 32 by 32 grid, scaled to the size asked for, in dark outlines.
constexpr qreal kGrid = 32.0;

QPen line(qreal width = 1.3)
{
    return QPen(QColor(40, 44, 52), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A clerk seen from the front, head and shoulders, at the left of the grid.
void drawClerk(QPainter& p)
{
    p.setPen(line());
    p.setBrush(QColor(70, 120, 190));
    QPainterPath body;
    body.moveTo(2.5, 29.5);
    body.lineTo(2.5, 25);
    body.quadTo(2.5, 17.5, 12, 17.5);
    body.quadTo(21.5, 17.5, 21.5, 25);
    body.lineTo(21.5, 29.5);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(245, 210, 175));
    p.drawEllipse(QPointF(12, 10.5), 5.5, 6);
}

// A clerk with a round badge at the lower right, the badge carrying a sign
// of two white strokes.
void drawClerkWithBadge(QPainter& p, const QColor& badge, const QLineF& stroke1, const QLineF& stroke2)
{
    drawClerk(p);
    p.setPen(QPen(Qt::white, 1.2));
    p.setBrush(badge);
    p.drawEllipse(QPointF(24, 23), 7, 7);
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(stroke1);
    p.drawLine(stroke2);
}

void drawNew(QPainter& p)
{
    // A green plus: a user joins.
    drawClerkWithBadge(p, QColor(35, 150, 65), QLineF(24, 19.5, 24, 26.5), QLineF(20.5, 23, 27.5, 23));
}

void drawDelete(QPainter& p)
{
    // A red cross: a user leaves.
    drawClerkWithBadge(p, QColor(200, 40, 40), QLineF(21.2, 20.2, 26.8, 25.8), QLineF(26.8, 20.2, 21.2, 25.8));
}

void drawEdit(QPainter& p)
{
    // The main window's password key, with its written sheet and pencil at
    // the lower right: a password changes.
    pictures::draw(QStringLiteral("passkey"), p, QRectF(-2, -5, 30, 30));
    pictures::draw(QStringLiteral("edit"), p, QRectF(14, 12, 19, 19));
}

void drawSave(QPainter& p)
{
    // A diskette: the details are kept.
    p.setPen(line());
    p.setBrush(QColor(45, 85, 160));
    // The case, its upper right corner cut off.
    p.drawPolygon(QPolygonF{QPointF(3.5, 3.5), QPointF(24.5, 3.5), QPointF(28.5, 7.5), QPointF(28.5, 28.5),
                            QPointF(3.5, 28.5)});
    p.setBrush(QColor(205, 210, 220));
    p.drawRect(QRectF(9, 3.5, 13, 8.5));
    p.setBrush(QColor(45, 85, 160));
    p.drawRect(QRectF(17, 5, 3, 5.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 16, 18, 12.5));
    p.setPen(QPen(QColor(120, 130, 150), 1.0));
    for (qreal y : {20.0, 24.0})
        p.drawLine(QPointF(9.5, y), QPointF(22.5, y));
}

using Drawing = void (*)(QPainter&);

Drawing drawingFor(const QString& key)
{
    if (key == QLatin1String("new"))
        return drawNew;
    if (key == QLatin1String("edit"))
        return drawEdit;
    if (key == QLatin1String("delete"))
        return drawDelete;
    if (key == QLatin1String("save"))
        return drawSave;
    return nullptr;
}

}  // namespace

bool drawPicture(const QString& key, QPainter& painter, const QRectF& rect)
{
    const Drawing drawing = drawingFor(key);
    if (!drawing)
        return false;
    // The grid is mapped onto the largest square centred in rect.
    const qreal side = qMin(rect.width(), rect.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setTransform(QTransform::fromScale(side / kGrid, side / kGrid) *
                             QTransform::fromTranslate(rect.center().x() - side / 2, rect.center().y() - side / 2),
                         true);
    drawing(painter);
    painter.restore();
    return true;
}

PasswordImageList::PasswordImageList(QObject* parent)
    : QObject(parent),
      keys_{QStringLiteral("new"), QStringLiteral("edit"), QStringLiteral("delete"), QStringLiteral("save")}
{
    setObjectName(QStringLiteral("imlPass"));
}

QIcon PasswordImageList::icon(const QString& key) const
{
    if (!keys_.contains(key))
        return QIcon();
    // Drawn afresh at each usual size, so that no size is a blurred copy of
    // another; a disabled button greys its picture the desktop's way.
    QIcon icon;
    for (int side : {16, 20, 24, 32, 48, 64}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        drawPicture(key, p, QRectF(0, 0, side, side));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace users
