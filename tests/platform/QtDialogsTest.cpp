// The message boxes as the clerk sees them: titled with the program, and
// showing typed names as typed, never as markup.
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Reads the box that opens next, then answers it.
struct BoxReader {
    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    bool seen = false;

    void readNextBox(QMessageBox::StandardButton answer)
    {
        QTimer::singleShot(0, [this, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                readNextBox(answer);  // not open yet: look again at the next turn
                return;
            }
            seen = true;
            title = box->windowTitle();
            text = box->text();
            format = box->textFormat();
            box->done(answer);
        });
    }
};

TEST(QtDialogs, TypedNamesShowAsTyped)
{
    dialogs::QtService service;
    const QString name = QStringLiteral("User : <b>Bo</b> & Co has been successfully added to the user database...");
    BoxReader reader;
    reader.readNextBox(QMessageBox::Ok);
    service.message(name, dialogs::Icon::Information);
    ASSERT_TRUE(reader.seen);
    EXPECT_EQ(reader.title, "Quorvane v1.0");
    EXPECT_EQ(reader.text, name);
    EXPECT_EQ(reader.format, Qt::PlainText);

    reader = BoxReader();
    reader.readNextBox(QMessageBox::Yes);
    EXPECT_TRUE(service.askYesNo(QStringLiteral("Are you sure you want to delete the user <i>x</i> ?"),
                                 dialogs::Icon::None));
    EXPECT_EQ(reader.format, Qt::PlainText);
}

}  // namespace
