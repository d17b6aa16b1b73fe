// The dialog services: message boxes, Yes/No questions and the save dialog.
// The logic asks through this interface; the windows library supplies the Qt
// implementation and the tests a scripted one. Every message box carries the
// title "Quorvane v1.0".
#pragma once

#include <QString>

#include <exception>

namespace dialogs {

inline const QString kAppTitle = QStringLiteral("Quorvane v1.0");

enum class Icon { None, Critical, Question, Exclamation, Information };

struct SaveRequest {
    QString title;
    QString filterDescription;  // shown in the file-type list
    QString filterPattern;      // the files listed
};

class Service {
public:
    virtual ~Service() = default;
    // A message box with the OK button.
    virtual void message(const QString& text, Icon icon) = 0;
    // A message box with Yes and No; true for Yes.
    virtual bool askYesNo(const QString& text, Icon icon) = 0;
    // The save dialog; the chosen full path, or an empty text when cancelled.
    virtual QString saveFileName(const SaveRequest& request) = 0;
};

// The service in use. Until one is installed, messages are written to the
// standard error stream and questions answered No.
Service& current();
void install(Service* service);

inline void message(const QString& text, Icon icon) { current().message(text, icon); }
inline bool askYesNo(const QString& text, Icon icon) { return current().askYesNo(text, icon); }

// "Error :", one blank and the description, with the critical icon.
void reportError(const std::exception& e);
// The same for an error kept to be reported later (nothing for an empty one).
void reportError(const std::exception_ptr& failure);

}  // namespace dialogs
