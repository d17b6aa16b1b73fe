// The dialog services drawn with Qt's message box and file dialog.
#pragma once

#include "platform/Dialogs.h"

namespace dialogs {

class QtService : public Service {
public:
    void message(const QString& text, Icon icon) override;
    bool askYesNo(const QString& text, Icon icon) override;
    QString saveFileName(const SaveRequest& request) override;
};

}  // namespace dialogs
