#include "browse/SearchLayout.h"

#include "browse/Search.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace search_layout {

void place(QWidget* control, Place at)
{
    control->setGeometry(QRect(twips::point(at.left, at.top), twips::size(at.width, at.height)));
}

QLabel* addLabel(QWidget* form, const char* name, const QString& caption, Place at)
{
    auto* l = new QLabel(caption, form);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    place(l, at);
    return l;
}

QLineEdit* addBox(QWidget* form, const char* name, Place at)
{
    auto* b = new QLineEdit(form);
    b->setObjectName(QString::fromLatin1(name));
    place(b, at);
    return b;
}

QComboBox* addPickList(QWidget* form, const char* name, const QString& spoken, Place at)
{
    auto* c = new QComboBox(form);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(false);
    // The lists' widths are chosen for this font, whatever the desktop's.
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(8);
    c->setFont(f);
    c->setAccessibleName(spoken);
    place(c, at);
    return c;
}

QPushButton* addButton(QWidget* form, const char* name, const QString& caption, Place at)
{
    auto* b = new QPushButton(caption, form);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    place(b, at);
    return b;
}

QListView* addList(QWidget* form, const char* name, QAbstractItemModel* model, Place at)
{
    auto* v = new QListView(form);
    v->setObjectName(QString::fromLatin1(name));
    // Every line has the same height, so the view lays out a million lines
    // without measuring them; and it lays them out a batch at a time between
    // window events, so a long list never holds the events up.
    v->setUniformItemSizes(true);
    v->setLayoutMode(QListView::Batched);
    v->setBatchSize(20000);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setModel(model);
    place(v, at);
    return v;
}

namespace {
void fill(QComboBox* list, const QStringList& entries)
{
    list->clear();
    list->addItems(entries);
}
}  // namespace

void fillTables(QComboBox* tables) { fill(tables, search::tableEntries()); }
void fillFields(QComboBox* fields, int tablePosition) { fill(fields, search::fieldEntries(tablePosition)); }
void fillStyles(QComboBox* styles) { fill(styles, search::styleEntries()); }

}  // namespace search_layout
