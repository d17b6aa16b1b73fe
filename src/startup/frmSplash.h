// The splash screen shown for two seconds after the login; its timer shows
// the main window.
#pragma once

#include <QWidget>

class QTimer;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash();

    bool TimeUp = false;

    void Form_Load();
    void tmrTimer_Timer();

    QTimer* timer() const { return tmrTimer; }

private:
    QTimer* tmrTimer = nullptr;
};
