#pragma once
// The dialog in which the user sees the base rates, adds or corrects one or imports the Deutsche
// Bundesbank's CSV download.

#include "editors/dateedit.h"
#include "engine/baseratestore.h"

#include <QDialog>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class TBaseRateDialog : public QDialog {
    Q_OBJECT
public:
    explicit TBaseRateDialog(TBaseRateStore &store, QWidget *parent = nullptr);

    TDateEdit *HalfYear = nullptr;
    QLineEdit *Rate = nullptr;
    QPushButton *SetButton = nullptr;
    QPushButton *ImportButton = nullptr;
    QTableWidget *Rates = nullptr;
    QLabel *Status = nullptr;

    // Shows the rates with the half-year preset (EmptyDate: the one after the table's reach).
    void Open(TDateTime halfYear);
    // Eintragen: the typed half-year and rate into the user's file.
    void SetRate();
    // Reads a file the user picks.
    void Import();
    // Shows the store's rates afresh.
    void Refresh();

    // After every change of the user's rates.
    std::function<void()> OnRatesChanged;

private:
    void Refuse(const QString &message, QWidget *field);

    TBaseRateStore &FStore;
};
