#pragma once
// The dialog in which the user sees the base rates, adds, corrects or deletes an own one,
// imports the Deutsche Bundesbank's download or fetches it from the Bundesbank. A row picked in
// the table fills the fields for a correction; a file of the user's set aside as broken is named
// with a button that shows it.

#include "editors/dateedit.h"
#include "engine/baseratestore.h"

#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TBaseRateModel;
class TBaseRateUpdate;

class TBaseRateDialog : public QDialog {
    Q_OBJECT
public:
    explicit TBaseRateDialog(TBaseRateStore &store, QWidget *parent = nullptr);
    ~TBaseRateDialog() override;

    TBaseRateUpdate &Updater() const { return *FUpdate; }

    // Shows the rates with the half-year preset (EmptyDate: the one after the table's reach).
    void Open(TDateTime halfYear);
    // Eintragen: the typed half-year and rate into the user's file.
    void SetRate();
    // Löschen: the user's rate of the selected row out of the file.
    void DeleteRate();
    // Reads a file the user picks.
    void Import();
    // Fetches the Bundesbank's series and takes over what is new; the dialog stays usable
    // meanwhile.
    void Update();
    // Abbrechen, or the dialog closed: nothing is changed.
    void CancelUpdate();
    // Opens the newest set-aside file with the desktop's program for it.
    void ShowSetAside();
    // Shows the store's rates afresh: only the rows that changed.
    void Refresh();

signals:
    // After every change of the user's rates made here.
    void RatesChanged();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void Updated(const TEngineError &error, const std::vector<TRateChange> &changes);
    void ShowUpdating(bool updating);
    void Refuse(const QString &message, QWidget *field);
    void RowPicked(const QModelIndex &current);
    void SelectHalfYear(TDateTime from);
    void Changed();

    // The children, each with its own name as object name ("HalfYear"), so that tools and tests
    // find them.
    TDateEdit *HalfYear = nullptr;
    QLineEdit *Rate = nullptr;
    QPushButton *SetButton = nullptr;
    QPushButton *DeleteButton = nullptr;
    QPushButton *ImportButton = nullptr;
    QPushButton *UpdateButton = nullptr;
    // Shown while the rates are being fetched.
    QPushButton *CancelUpdateButton = nullptr;
    QTableView *Rates = nullptr;
    QLabel *Status = nullptr;
    // Shown while a set-aside file lies beside the user's file.
    QLabel *SetAsideNote = nullptr;
    QPushButton *SetAsideButton = nullptr;

    TBaseRateStore &FStore;
    TBaseRateModel *FModel = nullptr; // "Model"
    std::unique_ptr<TBaseRateUpdate> FUpdate;
    bool FRefreshing = false;
};
