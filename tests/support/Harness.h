// The test harness: a fresh application folder, a fresh database, scripted
// dialogs and a fixed date, reset around every test.
#pragma once

#include "platform/Dialogs.h"

#include <QApplication>
#include <QDate>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// Test failures show texts as texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace testing_support {

struct ShownMessage {
    QString text;
    dialogs::Icon icon;
};

// Answers the program's dialogs from a script and records what they showed.
class ScriptedDialogs : public dialogs::Service {
public:
    void message(const QString& text, dialogs::Icon icon) override;
    bool askYesNo(const QString& text, dialogs::Icon icon) override;
    QString saveFileName(const dialogs::SaveRequest& request) override;

    std::vector<ShownMessage> messages;
    std::vector<ShownMessage> questions;
    std::vector<dialogs::SaveRequest> saveRequests;
    std::deque<bool> yesNoAnswers;     // default No when empty
    std::deque<QString> saveAnswers;   // default cancel when empty
    // Runs while a message box would be open (for example, to act on a
    // window in the middle of a routine).
    std::function<void(const ShownMessage&)> onMessage;

    QStringList texts() const;
    void clear();
};

// The exit status the program asked to end with, or -1 while it runs on.
extern int g_endedStatus;

// Base fixture: a fresh application folder with no database in it.
class QuorvaneTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString folder() const { return dir_->path(); }
    QString dbPath() const;

    // Creates and opens a new, empty database in the folder.
    void freshDatabase();

    // Runs SQL on the file through a connection of its own, as another
    // program (or another counter) would; it does not wait for a lock.
    void otherProgram(const std::string& sql) const;

    // Appends a rental through the shared record set.
    static void addRental(const QString& member, const QString& code, const QDate& date, const QString& returned);

    ScriptedDialogs dialogs_;

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

// A child control by objectName, failing the test when there is none.
template <class T>
T* control(QObject* window, const char* name)
{
    T* c = window->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        ADD_FAILURE() << "no control named " << name;
    return c;
}

// Lets pending events run (timers, deferred deletes).
void pump(int ms = 0);

}  // namespace testing_support
