#include "support/Harness.h"

#include "data/modQuorvane.h"
#include "platform/AppFolder.h"
#include "platform/Clock.h"
#include "platform/Store.h"
#include "shell/Windows.h"
#include "shell/frmMDIQuorvane.h"
#include "startup/frmLogin.h"

#include <QCoreApplication>

#include <SQLiteCpp/SQLiteCpp.h>

#include <QDate>
#include <QElapsedTimer>
#include <QEventLoop>

namespace testing_support {

void ScriptedDialogs::message(const QString& text, dialogs::Icon icon)
{
    messages.push_back({text, icon});
    if (onMessage)
        onMessage(messages.back());
}

bool ScriptedDialogs::askYesNo(const QString& text, dialogs::Icon icon)
{
    questions.push_back({text, icon});
    if (yesNoAnswers.empty())
        return false;
    const bool a = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return a;
}

QString ScriptedDialogs::saveFileName(const dialogs::SaveRequest& request)
{
    saveRequests.push_back(request);
    if (saveAnswers.empty())
        return QString();
    const QString a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const auto& m : messages)
        out << m.text;
    return out;
}

void ScriptedDialogs::clear()
{
    messages.clear();
    questions.clear();
    saveRequests.clear();
}

int g_endedStatus = -1;

namespace {
void recordEnd(int status) { g_endedStatus = status; }
}  // namespace

void QuorvaneTest::SetUp()
{
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    modQuorvane::ResetProcessState();
    platform::setApplicationFolder(dir_->path());
    g_endedStatus = -1;
    platform::setEndProcessHook(&recordEnd);
    clock_service::setToday(QDate(2026, 12, 7));
    dialogs::install(&dialogs_);
    modQuorvane::DbPath = modQuorvane::ComputeDbPath();
}

void QuorvaneTest::TearDown()
{
    dialogs_.onMessage = nullptr;
    windows::closeAll();
    delete frmMDIQuorvane::instance();
    frmLogin::destroyInstance();
    pump();
    modQuorvane::ResetProcessState();
    dialogs::install(nullptr);
    clock_service::setToday(QDate());
    platform::setApplicationFolder(QString());
    dir_.reset();
}

QString QuorvaneTest::dbPath() const { return dir_->path() + QStringLiteral("/Quorvane.mdb"); }

void QuorvaneTest::freshDatabase()
{
    ASSERT_TRUE(modQuorvane::CreateNewDatabase());
    modQuorvane::OpenMainDatabase();
}

void QuorvaneTest::otherProgram(const std::string& sql) const
{
    SQLite::Database raw(dbPath().toStdString(), SQLite::OPEN_READWRITE, 0);
    raw.exec(sql);
}

void QuorvaneTest::addRental(const QString& member, const QString& code, const QDate& date, const QString& returned)
{
    auto& rs = *modQuorvane::rsRentals;
    rs.AddNew();
    rs.SetValue(QStringLiteral("Member ID"), member);
    rs.SetValue(QStringLiteral("Video Code"), code);
    rs.SetValue(QStringLiteral("Rent Date"), date);
    rs.SetValue(QStringLiteral("Returned"), returned);
    rs.Update();
}

void pump(int ms)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (ms > 0) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

}  // namespace testing_support
