// The search results window: runs the search the settings describe, lists
// every match with its matched value, searches again on its own, and, when
// it was opened for editing, hands the chosen record to the video or member
// editor.
#pragma once

#include "shell/Windows.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <optional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace search {
class SearchResults;
}
namespace store {
class Recordset;
}

class frmEditSearch : public QuorvaneForm {
    Q_OBJECT
public:
    frmEditSearch();
    ~frmEditSearch() override;

    void Form_Load() override;
    void Form_Unload() override;

    // Runs the search the settings describe and lists its matches after the
    // lines already listed. False when the window was closed meanwhile.
    bool RunSearch();
    // True when the last search listed at least one record.
    bool matchFound() const { return MatchFound; }
    // True while a search is filling the lists.
    bool isSearching() const { return scansRunning_ > 0; }

    void cboTables_Click();
    void cmdSearch_Click();
    void lstResults_Click();
    void lstResults2_Click();
    void cmdEdit_Click();
    void cmdClose_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class ScanHold;
    // The search whose lines are listed.
    struct Listed {
        bool isVideo = true;
        QString field;
        short fieldIndex = 0;
        short style = 1;
        std::shared_ptr<store::Recordset> records;
    };

    void placeControls();
    void fillPickLists();
    void clearResults();

    bool MatchFound = false;
    bool editOffered_ = false;
    Listed listed_;
    // The table (true: the titles) this window's last search again found
    // empty, if it stopped there.
    std::optional<bool> emptyTableSearched_;
    // Each search gets a new number; a search whose number is no longer the
    // latest stops at once.
    std::uint64_t scanGeneration_ = 0;
    int scansRunning_ = 0;
    QPointer<QObject> heldDeletion_;

    search::SearchResults* results_ = nullptr;

    QLabel* lblSearch = nullptr;
    QLineEdit* txtQuery = nullptr;
    QComboBox* cboTables = nullptr;
    QComboBox* cboFields = nullptr;
    QComboBox* cboStyle = nullptr;
    QPushButton* cmdSearch = nullptr;
    QLabel* lblField = nullptr;
    QListView* lstResults = nullptr;
    QLabel* lblCat = nullptr;
    QListView* lstResults2 = nullptr;
    QLabel* lblDesc = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdClose = nullptr;
};
