#include "shell/Icons.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>
#include <map>

namespace pictures {

namespace {

// Every picture is drawn on a 32 by 32 grid and scaled to the size asked for.
constexpr qreal kGrid = 32.0;

const QColor kInk(40, 44, 52);

QPen ink(qreal width = 1.5) { return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void drawHistory(QPainter& p)
{
    // A clock face with an arrow turning back round it: the history of codes
    // and transactions.
    p.setPen(ink());
    p.setBrush(QColor(255, 248, 220));
    p.drawEllipse(QPointF(17, 17), 11, 11);
    for (int h = 0; h < 12; ++h) {
        p.save();
        p.translate(17, 17);
        p.rotate(h * 30.0);
        p.drawLine(QPointF(0, -9.5), QPointF(0, h % 3 == 0 ? -7.5 : -8.5));
        p.restore();
    }
    p.setPen(ink(2.0));
    p.drawLine(QPointF(17, 17), QPointF(17, 10));
    p.drawLine(QPointF(17, 17), QPointF(22, 19.5));
    // The arrow round the upper left of the face.
    QPen arrow(QColor(200, 40, 40), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(arrow);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 2.5, 29, 29), 100 * 16, 90 * 16);
    QPainterPath head;
    head.moveTo(2.0, 13.5);
    head.lineTo(3.0, 20.5);
    head.lineTo(7.5, 15.5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawPath(head);
}

void drawView(QPainter& p)
{
    // A table of rows and columns, as the grid shows a database.
    const QRectF sheet(3.5, 6.5, 25, 20);
    p.setPen(ink());
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 110, 200));
    p.drawRect(QRectF(4.25, 7.25, 23.5, 4.25));
    p.setPen(QPen(QColor(120, 130, 150), 1.0));
    for (qreal y : {16.0, 21.0})
        p.drawLine(QPointF(4.25, y), QPointF(27.75, y));
    for (qreal x : {11.5, 20.0})
        p.drawLine(QPointF(x, 11.5), QPointF(x, 25.75));
    p.setPen(ink());
    p.setBrush(Qt::NoBrush);
    p.drawRect(sheet);
}

void drawEdit(QPainter& p)
{
    // A written sheet with a pencil across it.
    p.setPen(ink());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 3.5, 17, 24));
    p.setPen(QPen(QColor(110, 130, 170), 1.2));
    for (qreal y = 8.5; y < 24; y += 3.5)
        p.drawLine(QPointF(7.5, y), QPointF(18.5, y));

    p.save();
    p.translate(19, 19);
    p.rotate(-45);
    QPainterPath body;
    body.addRect(QRectF(-3, -11, 6, 17));
    p.setPen(ink(1.2));
    p.setBrush(QColor(245, 190, 40));
    p.drawPath(body);
    p.setBrush(QColor(230, 120, 140));
    p.drawRect(QRectF(-3, -14, 6, 3));
    QPainterPath tip;
    tip.moveTo(-3, 6);
    tip.lineTo(3, 6);
    tip.lineTo(0, 12);
    tip.closeSubpath();
    p.setBrush(QColor(240, 215, 170));
    p.drawPath(tip);
    p.setBrush(kInk);
    QPainterPath lead;
    lead.moveTo(-1, 10);
    lead.lineTo(1, 10);
    lead.lineTo(0, 12);
    lead.closeSubpath();
    p.drawPath(lead);
    p.restore();
}

void drawInventory(QPainter& p)
{
    // A clipboard with a ticked list: the stock count.
    p.setPen(ink());
    p.setBrush(QColor(170, 115, 60));
    p.drawRoundedRect(QRectF(5.5, 4.5, 21, 26), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 8, 16, 20));
    p.setBrush(QColor(170, 175, 185));
    p.drawRoundedRect(QRectF(11.5, 2.5, 9, 5), 1.5, 1.5);
    QPen tick(QColor(30, 150, 60), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPen line(QColor(110, 120, 140), 1.4, Qt::SolidLine, Qt::RoundCap);
    for (int i = 0; i < 3; ++i) {
        const qreal y = 13 + i * 5;
        p.setPen(tick);
        p.drawPolyline(QPolygonF{QPointF(10, y), QPointF(11.5, y + 1.5), QPointF(14, y - 1.5)});
        p.setPen(line);
        p.drawLine(QPointF(16, y), QPointF(22, y));
    }
}

void drawPerson(QPainter& p, QPointF head, qreal r, const QColor& colour)
{
    p.setPen(ink(1.2));
    p.setBrush(colour);
    QPainterPath shoulders;
    const qreal w = r * 2.6;
    const qreal top = head.y() + r * 1.15;
    shoulders.moveTo(head.x() - w, top + r * 2.6);
    shoulders.cubicTo(head.x() - w, top, head.x() + w, top, head.x() + w, top + r * 2.6);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    p.setBrush(QColor(250, 215, 180));
    p.drawEllipse(head, r, r);
}

void drawMembers(QPainter& p)
{
    // Two people: the shop's members.
    p.save();
    p.setClipRect(QRectF(0, 0, kGrid, 29.5));
    drawPerson(p, QPointF(21.5, 8.5), 4.6, QColor(110, 130, 170));
    drawPerson(p, QPointF(12.0, 12.0), 5.4, QColor(50, 110, 200));
    p.restore();
    p.setPen(ink(1.2));
    p.drawLine(QPointF(1, 29.5), QPointF(31, 29.5));
}

void drawPasskey(QPainter& p)
{
    // A key: the users and their passwords.
    p.setPen(ink());
    p.setBrush(QColor(230, 180, 40));
    QPainterPath key;
    key.addEllipse(QPointF(10, 16), 7, 7);
    key.addRect(QRectF(16, 14, 13, 4));
    key.addRect(QRectF(22, 18, 2.5, 4));
    key.addRect(QRectF(26.5, 18, 2.5, 5));
    key.setFillRule(Qt::WindingFill);
    p.drawPath(key.simplified());
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8.5, 16), 2.5, 2.5);
}

void drawSearch(QPainter& p)
{
    // A magnifying glass.
    p.setPen(QPen(kInk, 4.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 20), QPointF(27.5, 27.5));
    p.setPen(QPen(QColor(120, 80, 40), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(21, 21), QPointF(27, 27));
    p.setPen(QPen(kInk, 2.5));
    p.setBrush(QColor(190, 225, 250));
    p.drawEllipse(QPointF(13, 13), 8.5, 8.5);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(8, 8, 10, 10), 100 * 16, 70 * 16);
}

void drawArrow(QPainter& p, qreal y, bool right, const QColor& colour)
{
    QPainterPath a;
    const qreal tail = right ? 4 : 28;
    const qreal base = right ? 20 : 12;
    const qreal tip = right ? 28.5 : 3.5;
    a.moveTo(tail, y - 2.5);
    a.lineTo(base, y - 2.5);
    a.lineTo(base, y - 6);
    a.lineTo(tip, y);
    a.lineTo(base, y + 6);
    a.lineTo(base, y + 2.5);
    a.lineTo(tail, y + 2.5);
    a.closeSubpath();
    p.setPen(ink(1.2));
    p.setBrush(colour);
    p.drawPath(a);
}

void drawTransact(QPainter& p)
{
    // A tape going out and a tape coming back.
    drawArrow(p, 9.5, true, QColor(40, 160, 70));
    drawArrow(p, 22.5, false, QColor(225, 110, 30));
}

void drawVideo(QPainter& p)
{
    // A video cassette.
    p.setPen(ink(1.2));
    p.setBrush(QColor(45, 48, 56));
    p.drawRoundedRect(QRectF(2.5, 7.5, 27, 17), 2, 2);
    p.setBrush(QColor(245, 245, 240));
    p.drawRect(QRectF(6, 9.5, 20, 5));
    p.setPen(QPen(QColor(200, 40, 40), 1.2));
    p.drawLine(QPointF(8, 12), QPointF(20, 12));
    p.setPen(ink(1.0));
    p.setBrush(QColor(120, 125, 135));
    p.drawRect(QRectF(9, 16.5, 14, 6));
    p.setBrush(QColor(235, 235, 235));
    p.drawEllipse(QPointF(11.5, 19.5), 2.3, 2.3);
    p.drawEllipse(QPointF(20.5, 19.5), 2.3, 2.3);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(11.5, 19.5), 0.8, 0.8);
    p.drawEllipse(QPointF(20.5, 19.5), 0.8, 0.8);
}

void drawAbout(QPainter& p)
{
    // An "i" in a blue disc: the credits.
    p.setPen(QPen(QColor(20, 70, 150), 1.5));
    p.setBrush(QColor(45, 110, 210));
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.3, 2.3);
    QPainterPath stem;
    stem.moveTo(13, 13.5);
    stem.lineTo(18, 13.5);
    stem.lineTo(18, 22.5);
    stem.lineTo(20, 22.5);
    stem.lineTo(20, 24.5);
    stem.lineTo(12, 24.5);
    stem.lineTo(12, 22.5);
    stem.lineTo(14, 22.5);
    stem.lineTo(14, 15.5);
    stem.lineTo(13, 15.5);
    stem.closeSubpath();
    p.drawPath(stem);
}

const std::map<QString, std::function<void(QPainter&)>>& drawings()
{
    static const std::map<QString, std::function<void(QPainter&)>> m{
        {QStringLiteral("history"), drawHistory}, {QStringLiteral("view"), drawView},
        {QStringLiteral("edit"), drawEdit},       {QStringLiteral("invent"), drawInventory},
        {QStringLiteral("members"), drawMembers}, {QStringLiteral("passkey"), drawPasskey},
        {QStringLiteral("search"), drawSearch},   {QStringLiteral("transact"), drawTransact},
        {QStringLiteral("video"), drawVideo},     {QStringLiteral("about"), drawAbout},
    };
    return m;
}

}  // namespace

bool draw(const QString& key, QPainter& painter, const QRectF& rect)
{
    const auto it = drawings().find(key);
    if (it == drawings().end())
        return false;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal side = qMin(rect.width(), rect.height());
    painter.translate(rect.center().x() - side / 2, rect.center().y() - side / 2);
    painter.scale(side / kGrid, side / kGrid);
    it->second(painter);
    painter.restore();
    return true;
}

}  // namespace pictures

namespace {

// A disabled button shows its picture in grey and faded.
void greyOut(QImage& image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            const int g = 96 + qGray(c) / 2;
            line[x] = qRgba(g, g, g, qAlpha(c) * 45 / 100);
        }
    }
}

class PictureEngine : public QIconEngine {
public:
    explicit PictureEngine(QString key) : key_(std::move(key)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, scale));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const QSize pixels = (QSizeF(size) * scale).toSize();
        if (pixels.isEmpty())
            return QPixmap();
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            pictures::draw(key_, p, QRectF(QPointF(0, 0), QSizeF(pixels)));
        }
        if (mode == QIcon::Disabled)
            greyOut(image);
        QPixmap pm = QPixmap::fromImage(image);
        pm.setDevicePixelRatio(scale);
        return pm;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)};
    }

    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("QuorvanePicture"); }
    QIconEngine* clone() const override { return new PictureEngine(key_); }

private:
    QString key_;
};

}  // namespace

ImageList::ImageList(QObject* parent)
    : QObject(parent),
      keys_{QStringLiteral("history"),  QStringLiteral("view"),    QStringLiteral("edit"),
            QStringLiteral("invent"),   QStringLiteral("members"), QStringLiteral("passkey"),
            QStringLiteral("search"),   QStringLiteral("transact"), QStringLiteral("video"),
            QStringLiteral("about")}
{
    setObjectName(QStringLiteral("imlIcons"));
}

QIcon ImageList::icon(const QString& key) const
{
    if (!keys_.contains(key))
        return QIcon();
    return QIcon(new PictureEngine(key));
}
