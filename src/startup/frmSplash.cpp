#include "startup/frmSplash.h"

#include "platform/Dialogs.h"
#include "platform/Twips.h"
#include "shell/frmMDIQuorvane.h"

#include <QAccessibleWidget>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// To a screen reader the splash is a window of its own, not a pane.
QAccessibleInterface* splashInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("frmSplash") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

}  // namespace

frmSplash::frmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    static const bool spoken = (QAccessible::installFactory(splashInterface), true);
    Q_UNUSED(spoken);
    setObjectName(QStringLiteral("frmSplash"));
    // It has no title bar; it is named after the program.
    setAccessibleName(dialogs::kAppTitle);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(twips::size(6000, 3600));

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("shpFrame"));
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);

    auto* lblTitle = new QLabel(QStringLiteral("Tessaline V1.1"), frame);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(20);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblTitle->setAlignment(Qt::AlignCenter);

    auto* lblMark1 = new QLabel(QStringLiteral("QUORVANE"), frame);
    lblMark1->setObjectName(QStringLiteral("lblMark1"));
    lblMark1->setAlignment(Qt::AlignCenter);
    auto* lblMark2 = new QLabel(QStringLiteral("video rental counter"), frame);
    lblMark2->setObjectName(QStringLiteral("lblMark2"));
    lblMark2->setAlignment(Qt::AlignCenter);
    auto* lblMaker = new QLabel(QStringLiteral("Made by the Quorvane developers"), frame);
    lblMaker->setObjectName(QStringLiteral("lblMaker"));
    lblMaker->setAlignment(Qt::AlignCenter);
    auto* lblWait = new QLabel(QStringLiteral("Please Wait..."), frame);
    lblWait->setObjectName(QStringLiteral("lblWait"));
    lblWait->setAlignment(Qt::AlignCenter);

    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(lblTitle);
    inner->addWidget(lblMark1);
    inner->addWidget(lblMark2);
    inner->addStretch();
    inner->addWidget(lblMaker);
    inner->addWidget(lblWait);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(frame);

    tmrTimer = new QTimer(this);
    tmrTimer->setObjectName(QStringLiteral("tmrTimer"));
    tmrTimer->setInterval(2000);
    tmrTimer->setSingleShot(false);
    connect(tmrTimer, &QTimer::timeout, this, &frmSplash::tmrTimer_Timer);
}

void frmSplash::Form_Load()
{
    // In the middle of the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height()) / 2);
    }
    TimeUp = false;
    // The timer runs from the moment the splash is loaded.
    tmrTimer->start();
}

void frmSplash::tmrTimer_Timer()
{
    tmrTimer->stop();
    TimeUp = true;
    frmMDIQuorvane* main = frmMDIQuorvane::create();
    main->show();
}
