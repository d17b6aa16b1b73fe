// The grid window: one whole table in a grid, as a viewer (Refresh) or as a
// deleter (Delete removes the highlighted row). The main window chooses the
// table and the mode before it creates the window. The grid reads the table
// through a data source of its own, DbaseData, on its own connection.
#pragma once

#include "shell/Windows.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;

namespace browse {
class DataSource;
}

class frmDatabaseGrid : public QuorvaneForm {
    Q_OBJECT
public:
    frmDatabaseGrid();

    void Form_Load() override;
    void Form_Unload() override;

    void cmdCommand_Click();  // Refresh (viewer) / Delete (deleter)
    void cmdClose_Click();
    // The grid's own deletion: with deleting allowed, the Delete key removes
    // the row selected whole with its row selector. True when the key was used.
    bool DBGrid_KeyDown(int keyCode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshRecords();
    void deleteRecord();
    void bindData();
    void selectWholeRow(int row);
    void showCurrentRow(int row);
    void fitColumns();

    // Deleting rows with the keyboard; set by the loading step for the deleter.
    bool allowDelete_ = false;

    QTableView* DBGrid = nullptr;
    browse::DataSource* DbaseData = nullptr;
    QPushButton* cmdCommand = nullptr;
    QPushButton* cmdClose = nullptr;
    QGroupBox* frmMessage = nullptr;
    QLabel* lblDesc = nullptr;
};
