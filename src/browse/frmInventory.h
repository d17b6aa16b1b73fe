// The inventory listing: every title of the video table in a list, and the
// tapes in the shop and out on rent of the title selected. It only reads,
// through the shared record set rsVideo, which it opens afresh when it loads.
#pragma once

#include "shell/Windows.h"

#include <QString>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace browse {
class TitleList;
}

class frmInventory : public QuorvaneForm {
    Q_OBJECT
public:
    frmInventory();

    void Form_Load() override;
    void Form_Unload() override;

    void cmdClose_Click();
    // A click on an entry, or any change of the selected entry.
    void lstInventory_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void FillTitleList();
    void FindTitle(const QString& title);

    browse::TitleList* titles_ = nullptr;
    // The entry that was selected when the mouse went down on the list, so
    // that a click on the selected entry reads its counts again.
    int rowAtPress_ = -1;

    QPushButton* cmdClose = nullptr;
    QListView* lstInventory = nullptr;
    QLabel* lblTapesOut = nullptr;
    QLineEdit* txtTapesOut = nullptr;
    QLineEdit* txtTapesIn = nullptr;
    QLabel* lblTapesIn = nullptr;
    QLabel* lblTitle = nullptr;
};
