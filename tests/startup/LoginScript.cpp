#include "startup/LoginScript.h"

#include "startup/frmLogin.h"
#include "support/Harness.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace login_script {

using testing_support::control;

void answer(const QString& user, const QString& password, const char* button)
{
    frmLogin& login = frmLogin::instance();
    control<QLineEdit>(&login, "txtUserName")->setText(user);
    control<QLineEdit>(&login, "txtPassword")->setText(password);
    control<QPushButton>(&login, button)->click();
}

void Script::operator()(std::vector<std::function<void()>> steps)
{
    auto queue = std::make_shared<std::vector<std::function<void()>>>(std::move(steps));
    auto index = std::make_shared<size_t>(0);
    if (!owner_)
        owner_ = std::make_unique<QObject>();
    auto* timer = new QTimer(owner_.get());
    QObject::connect(timer, &QTimer::timeout, [queue, index, timer] {
        if (*index >= queue->size()) {
            timer->deleteLater();
            return;
        }
        if (!frmLogin::instance().isVisible())
            return;
        (*queue)[(*index)++]();
    });
    timer->start(5);
}

}  // namespace login_script
