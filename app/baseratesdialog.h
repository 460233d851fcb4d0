#pragma once
// The dialog in which the user sees the base rates, adds, corrects or deletes an own one, or
// imports the Deutsche Bundesbank's download. A row picked in the table fills the fields for a
// correction; a file of the user's set aside as broken is named with a button that shows it.

#include "editors/dateedit.h"
#include "engine/baseratestore.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TBaseRateModel;

class TBaseRateDialog : public QDialog {
    Q_OBJECT
public:
    explicit TBaseRateDialog(TBaseRateStore &store, QWidget *parent = nullptr);

    TDateEdit *HalfYear = nullptr;
    QLineEdit *Rate = nullptr;
    QPushButton *SetButton = nullptr;
    QPushButton *DeleteButton = nullptr;
    QPushButton *ImportButton = nullptr;
    QTableView *Rates = nullptr;
    QLabel *Status = nullptr;
    // Shown while a set-aside file lies beside the user's file.
    QLabel *SetAsideNote = nullptr;
    QPushButton *SetAsideButton = nullptr;

    TBaseRateModel &Model() const { return *FModel; }

    // Shows the rates with the half-year preset (EmptyDate: the one after the table's reach).
    void Open(TDateTime halfYear);
    // Eintragen: the typed half-year and rate into the user's file.
    void SetRate();
    // Löschen: the user's rate of the selected row out of the file.
    void DeleteRate();
    // Reads a file the user picks.
    void Import();
    // Opens the newest set-aside file with the desktop's program for it.
    void ShowSetAside();
    // Shows the store's rates afresh: only the rows that changed.
    void Refresh();

    // After every change of the user's rates made here.
    std::function<void()> OnRatesChanged;

private:
    void Refuse(const QString &message, QWidget *field);
    void RowPicked(const QModelIndex &current);
    void SelectHalfYear(TDateTime from);
    void Changed();

    TBaseRateStore &FStore;
    TBaseRateModel *FModel = nullptr;
    bool FRefreshing = false;
};
