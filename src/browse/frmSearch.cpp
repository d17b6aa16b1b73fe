#include "browse/frmSearch.h"

#include "browse/Search.h"
#include "browse/SearchLayout.h"
#include "browse/frmEditSearch.h"
#include "platform/Dialogs.h"
#include "shell/MainWindowLink.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <iterator>

using search_layout::Place;

frmSearch::frmSearch()
{
    setObjectName(QStringLiteral("frmSearch"));
    lblSearch = search_layout::addLabel(this, "lblSearch", QStringLiteral("&Enter search query"), Place{120, 120, 3000, 285});
    // The three pick lists side by side, each wide enough for its longest
    // entry ("Members Database", "Contact number", "Exact Record Match").
    txtQuery = search_layout::addBox(this, "txtQuery", Place{120, 420, 5610, 285});
    cboTables = search_layout::addPickList(this, "cboTables", QStringLiteral("Table"), Place{120, 840, 1905, 315});
    cboFields = search_layout::addPickList(this, "cboFields", QStringLiteral("Field"), Place{2085, 840, 1635, 315});
    cboStyle = search_layout::addPickList(this, "cboStyle", QStringLiteral("Style"), Place{3780, 840, 1950, 315});
    cmdSearch = search_layout::addButton(this, "cmdSearch", QStringLiteral("&Search"), Place{3180, 1380, 1215, 375});
    cmdCancel = search_layout::addButton(this, "cmdCancel", QStringLiteral("&Cancel"), Place{4515, 1380, 1215, 375});
    lblSearch->setBuddy(txtQuery);

    QWidget* order[] = {txtQuery, cboTables, cboFields, cboStyle, cmdSearch, cmdCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(cboTables, &QComboBox::currentIndexChanged, this, &frmSearch::cboTables_Click);
    connect(cmdSearch, &QPushButton::clicked, this, &frmSearch::cmdSearch_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSearch::cmdCancel_Click);
}

void frmSearch::Form_Load()
{
    setCaption(QStringLiteral("Search"));
    setOuterSizeTwips(6090, 2490);
    search_layout::fillTables(cboTables);
    cboTables->setCurrentIndex(search::kVideoTable);
    cboTables_Click();
    search_layout::fillStyles(cboStyle);
    cboStyle->setCurrentIndex(search::ExactPhrase);
    shell::setStatusPanel(1, QStringLiteral("No open database"));
    shell::setStatusPanel(2, QStringLiteral("0 records"));
}

void frmSearch::cboTables_Click()
{
    search_layout::fillFields(cboFields, cboTables->currentIndex());
    cboFields->setCurrentIndex(0);
}

void frmSearch::cmdSearch_Click()
{
    try {
        if (search::prepareSearch(txtQuery->text(), cboTables->currentIndex(), cboFields->currentIndex(),
                                  cboStyle->currentIndex()) != search::Prepared::Ready)
            return;
        Unload();
        // A results window that is open already is only brought forward.
        windows::show<frmEditSearch>();
    } catch (const std::exception& e) {
        dialogs::reportError(e);
    }
}

void frmSearch::cmdCancel_Click() { Unload(); }
