// The application object. It is the last guard of the event loop: no error
// ever leaves a handler into Qt, and after each top-level event every pending
// record-set edit is discarded, so that no write lock outlives the handler
// that took it.
#pragma once

#include <QApplication>

class QuorvaneApplication : public QApplication {
public:
    QuorvaneApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    int depth_ = 0;
};
