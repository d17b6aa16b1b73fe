#include "platform/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

namespace dialogs {

namespace {

QMessageBox::Icon qtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

}  // namespace

void QtService::message(const QString& text, Icon icon)
{
    QMessageBox box(qtIcon(icon), kAppTitle, text, QMessageBox::Ok, QApplication::activeWindow());
    // Names and codes typed by clerks are shown as typed, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtService::askYesNo(const QString& text, Icon icon)
{
    QMessageBox box(qtIcon(icon), kAppTitle, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString QtService::saveFileName(const SaveRequest& request)
{
    QFileDialog dlg(QApplication::activeWindow(), request.title);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    // The file-type list shows the description; the pattern lists the files.
    QString pattern = request.filterPattern.trimmed();
    if (pattern == QLatin1String("*.*"))
        pattern = QStringLiteral("*");
    dlg.setNameFilter(QStringLiteral("%1 (%2)").arg(request.filterDescription, pattern));
    dlg.setOption(QFileDialog::HideNameFilterDetails, true);
    dlg.setDefaultSuffix(QString());
    // Qt's own dialog does not tie two of its captions to their pick lists;
    // tied, a screen reader reads each list with its caption.
    for (const auto& [caption, list] : {std::pair{"lookInLabel", "lookInCombo"}, std::pair{"fileTypeLabel", "fileTypeCombo"}}) {
        auto* label = dlg.findChild<QLabel*>(QLatin1String(caption));
        auto* box = dlg.findChild<QWidget*>(QLatin1String(list));
        if (label && box && !label->buddy())
            label->setBuddy(box);
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().constFirst();
}

}  // namespace dialogs
