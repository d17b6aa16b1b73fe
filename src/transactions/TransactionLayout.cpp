#include "transactions/TransactionLayout.h"

#include "platform/Twips.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace transactions_ui {

namespace {

constexpr int kLeft = 240;
constexpr int kInnerWidth = 4695;  // from the left margin to the right one
constexpr int kCaptionWidth = 1815;
constexpr int kBoxLeft = 2160;
constexpr int kBoxWidth = kLeft + kInnerWidth - kBoxLeft;
constexpr int kBoxHeight = 315;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;

// Inside the frame.
constexpr int kFrameRowTop = 360;
constexpr int kFrameRowStep = 450;
constexpr int kFrameCaptionLeft = 120;
constexpr int kFrameCaptionWidth = 1695;
constexpr int kFrameBoxLeft = kBoxLeft - kLeft;
constexpr int kFrameBoxWidth = kInnerWidth - kFrameBoxLeft - 120;

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips::point(left, top), twips::size(width, height));
}

QFont captionFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(9.75);
    return f;
}

}  // namespace

QLabel* addHeading(QWidget* form, const QString& text)
{
    auto* l = new QLabel(text, form);
    l->setObjectName(QStringLiteral("lblCaption"));
    QFont f(QStringLiteral("Arial Black"));
    f.setPointSize(14);
    f.setWeight(QFont::Black);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    l->setGeometry(twipsRect(kLeft, 180, kInnerWidth, 555));
    return l;
}

QLabel* addEntryCaption(QWidget* form, const char* name, const QString& caption, int topTwips)
{
    auto* l = new QLabel(caption, form);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(captionFont());
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    l->setGeometry(twipsRect(kLeft, topTwips, kCaptionWidth, kBoxHeight));
    return l;
}

QLineEdit* addEntryBox(QWidget* form, const char* name, int topTwips)
{
    auto* b = new QLineEdit(form);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(twipsRect(kBoxLeft, topTwips, kBoxWidth, kBoxHeight));
    return b;
}

QPushButton* addCheckButton(QWidget* form, int topTwips)
{
    auto* b = new QPushButton(QStringLiteral("C&heck"), form);
    b->setObjectName(QStringLiteral("cmdCheck"));
    b->setAutoDefault(false);
    b->setGeometry(twipsRect(kLeft + kInnerWidth - kButtonWidth, topTwips, kButtonWidth, kButtonHeight));
    return b;
}

QGroupBox* addStatusFrame(QWidget* form, int topTwips, int rows)
{
    auto* f = new QGroupBox(QStringLiteral("Status"), form);
    f->setObjectName(QStringLiteral("fraMessages"));
    f->setGeometry(twipsRect(kLeft, topTwips, kInnerWidth, kFrameRowTop + rows * kFrameRowStep + 90));
    return f;
}

QLabel* addResultCaption(QGroupBox* frame, const char* name, const QString& caption, int row)
{
    auto* l = new QLabel(caption, frame);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(captionFont());
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    l->setGeometry(
        twipsRect(kFrameCaptionLeft, kFrameRowTop + row * kFrameRowStep, kFrameCaptionWidth, kBoxHeight));
    return l;
}

QLineEdit* addResultBox(QGroupBox* frame, const char* name, int row)
{
    auto* b = new QLineEdit(frame);
    b->setObjectName(QString::fromLatin1(name));
    b->setEnabled(false);  // display only
    b->setGeometry(twipsRect(kFrameBoxLeft, kFrameRowTop + row * kFrameRowStep, kFrameBoxWidth, kBoxHeight));
    return b;
}

QPushButton* addFootButton(QWidget* form, QGroupBox* frame, const char* name, const QString& caption, int column)
{
    auto* b = new QPushButton(caption, form);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    const int top = twips::fromPx(frame->geometry().bottom() + 1) + 300;
    const int step = (kInnerWidth - kButtonWidth) / 2;
    b->setGeometry(twipsRect(kLeft + column * step, top, kButtonWidth, kButtonHeight));
    return b;
}

}  // namespace transactions_ui
