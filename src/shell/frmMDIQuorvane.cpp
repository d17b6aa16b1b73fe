#include "shell/frmMDIQuorvane.h"

#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "shell/Windows.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {
frmMDIQuorvane* g_main = nullptr;
}

frmMDIQuorvane* frmMDIQuorvane::instance() { return g_main; }

frmMDIQuorvane* frmMDIQuorvane::create()
{
    if (!g_main) {
        g_main = new frmMDIQuorvane();
        g_main->MDIForm_Load();
    }
    return g_main;
}

frmMDIQuorvane::frmMDIQuorvane()
{
    setObjectName(QStringLiteral("frmMDIQuorvane"));
    setWindowTitle(QStringLiteral("Quorvane v1.0"));
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(mdiArea_);
    windows::setMdiArea(mdiArea_);

    mnuSearch_ = menuBar()->addAction(QStringLiteral("&Search"));
    mnuSearch_->setObjectName(QStringLiteral("mnuSearch"));

    tbrQuorvane_ = addToolBar(QStringLiteral("tbrQuorvane"));
    tbrQuorvane_->setObjectName(QStringLiteral("tbrQuorvane"));
    searchButton_ = tbrQuorvane_->addAction(QStringLiteral("Search"));
    searchButton_->setObjectName(QStringLiteral("Search"));

    QStatusBar* sbr = statusBar();
    sbr->setObjectName(QStringLiteral("sbrStatus"));
    static const char* keys[8] = {"status", "recnum", "user", "date", "time", "caps", "num", "ins"};
    for (int i = 0; i < 8; ++i) {
        panels_[i] = new QLabel(sbr);
        panels_[i]->setObjectName(QString::fromLatin1(keys[i]));
        sbr->addWidget(panels_[i]);
    }
}

frmMDIQuorvane::~frmMDIQuorvane()
{
    if (g_main == this)
        g_main = nullptr;
    windows::setMdiArea(nullptr);
}

void frmMDIQuorvane::MDIForm_Load()
{
    modQuorvane::GridViewOnly = true;
    setPanelText(1, QStringLiteral("No database open"));
    setPanelText(2, QStringLiteral("0 records"));
    setPanelText(3, QStringLiteral("User : ") + modQuorvane::CurrentUser);
}

void frmMDIQuorvane::setPanelText(int panel, const QString& text)
{
    if (panel >= 1 && panel <= 8)
        panels_[panel - 1]->setText(text);
}

QString frmMDIQuorvane::panelText(int panel) const
{
    return panel >= 1 && panel <= 8 ? panels_[panel - 1]->text() : QString();
}

void frmMDIQuorvane::setSearchEnabled(bool enabled)
{
    mnuSearch_->setEnabled(enabled);
    searchButton_->setEnabled(enabled);
}

bool frmMDIQuorvane::isSearchEnabled() const { return mnuSearch_->isEnabled(); }

void frmMDIQuorvane::closeEvent(QCloseEvent* event)
{
    // Every change is committed when it is made: the run ends at once.
    event->accept();
    platform::endProcess(0);
}

namespace shell {

void setStatusPanel(int panel, const QString& text)
{
    if (frmMDIQuorvane* m = frmMDIQuorvane::instance())
        m->setPanelText(panel, text);
}

QString recordsText(long long count) { return QString::number(count) + QStringLiteral(" records"); }

}  // namespace shell
