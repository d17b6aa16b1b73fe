#include "catalogue/EditorLayout.h"

#include "data/CodeRegistry.h"
#include "data/modQuorvane.h"
#include "platform/Dialogs.h"
#include "platform/Store.h"
#include "platform/Twips.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>

#include <exception>
#include <vector>

namespace catalogue {

namespace {

constexpr int kCaptionLeft = 120;
constexpr int kCaptionWidth = 1620;
constexpr int kBoxLeft = 1800;
constexpr int kBoxWidth = 4095;
constexpr int kBoxHeight = 285;
constexpr int kButtonLeft = 240;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
constexpr int kButtonStep = 1480;  // four buttons across the width of the boxes

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips::point(left, top), twips::size(width, height));
}

}  // namespace

QLabel* addHeading(QWidget* form)
{
    auto* l = new QLabel(form);
    l->setObjectName(QStringLiteral("lblTitle"));
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(12);
    f.setBold(true);
    l->setFont(f);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    l->setGeometry(twipsRect(kCaptionLeft, 240, kBoxLeft + kBoxWidth - kCaptionLeft, 495));
    return l;
}

QLabel* addCaption(QWidget* form, const char* name, const QString& caption, int topTwips)
{
    auto* l = new QLabel(caption, form);
    l->setObjectName(QString::fromLatin1(name));
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(9.75);
    l->setFont(f);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    l->setGeometry(twipsRect(kCaptionLeft, topTwips, kCaptionWidth, kBoxHeight));
    return l;
}

QLineEdit* addBox(QWidget* form, const char* name, int topTwips)
{
    auto* b = new QLineEdit(form);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(twipsRect(kBoxLeft, topTwips, kBoxWidth, kBoxHeight));
    return b;
}

QPushButton* addButton(QWidget* form, const char* name, const QString& caption, int column, int topTwips)
{
    auto* b = new QPushButton(caption, form);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setGeometry(twipsRect(kButtonLeft + column * kButtonStep, topTwips, kButtonWidth, kButtonHeight));
    return b;
}

void attempt(const std::function<void()>& step)
{
    try {
        step();
    } catch (...) {
    }
}

bool onLastRow(store::Recordset& rs)
{
    rs.MoveNext();
    const bool last = rs.Eof();
    rs.MovePrevious();
    return last;
}

bool locateRow(store::Recordset& rs, const QString& field, const QString& value)
{
    if (rs.Text(field) == value)
        return false;
    const std::int64_t start = rs.Bookmark();
    if (!rs.FindFirst(field, value))
        rs.MoveLast();
    return rs.Bookmark() != start;
}

void stepBack(store::Recordset& rs, QPushButton* previous, QPushButton* next)
{
    previous->setEnabled(true);
    next->setEnabled(true);
    rs.MovePrevious();
    rs.MovePrevious();
    if (rs.Bof())
        previous->setEnabled(false);
    rs.MoveNext();
}

void stepForward(const std::function<store::Recordset&()>& rs, QPushButton* next)
{
    attempt([&] { rs().MoveNext(); });
    attempt([&] { rs().MoveNext(); });
    attempt([&] {
        if (rs().Eof())
            next->setEnabled(false);
    });
    attempt([&] { rs().MovePrevious(); });
}

void enableNextIfRowFollows(store::Recordset& rs, QPushButton* next)
{
    rs.MoveNext();
    if (!rs.Eof())
        next->setEnabled(true);
    rs.MovePrevious();
}

namespace {

bool isEnvironmental(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const store::StoreError& e) {
        return e.isEnvironmental();
    } catch (...) {
        return false;
    }
}

// True only when a record of the table is proven to carry the code.
bool codeOnFile(const CodeEntry& entry)
{
    try {
        return modQuorvane::MainDatabase().OpenRecordset(entry.table)->FindFirst(entry.codeField, entry.code);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

SaveOutcome saveWithCode(const CodeEntry& entry, bool editMode, store::Recordset& rs,
                         const std::function<void()>& write)
{
    std::vector<std::exception_ptr> failures;
    SaveOutcome outcome = SaveOutcome::Failed;
    try {
        store::Transaction tx(modQuorvane::MainDatabase());
        const modValidate::Registration registry =
            modValidate::RegisterCodeInTransaction(entry.code, entry.name, entry.registryTable);
        if (registry.failure)
            failures.push_back(registry.failure);
        if (registry.failure && !registry.refused) {
            // The registry could not be read or written: nothing more is tried.
        } else if (registry.known && !editMode) {
            outcome = SaveOutcome::CodeInUse;
        } else {
            try {
                write();
                tx.Commit();
                outcome = SaveOutcome::Saved;
            } catch (...) {
                failures.push_back(std::current_exception());
                attempt([&] { rs.CancelUpdate(); });
                if (registry.appendedRow != 0 && !isEnvironmental(failures.back()) && codeOnFile(entry))
                    attempt([&] { tx.Commit(); });
            }
        }
    } catch (...) {
        failures.push_back(std::current_exception());
    }
    for (const std::exception_ptr& failure : failures)
        dialogs::reportError(failure);
    return outcome;
}

void beginRecord(store::Recordset& rs, bool editMode, std::int64_t shownRow)
{
    if (editMode) {
        returnToShownRow(rs, shownRow);
        rs.Edit();
    } else {
        rs.AddNew();
    }
}

void returnToShownRow(store::Recordset& rs, std::int64_t shownRow)
{
    if (shownRow == 0 || rs.Bookmark() == shownRow)
        return;
    if (!rs.SetBookmark(shownRow))
        throw store::StoreError(store::ErrorKind::RecordDeleted, QStringLiteral("Record is deleted."));
}

}  // namespace catalogue
