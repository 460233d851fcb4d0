#pragma once
// The base rates the default-interest window calculates with (the shipped table with the user's
// own rates merged over it), and the dialog in which the user adds or corrects a rate or imports
// the Deutsche Bundesbank's CSV download.

#include "editors/dateedit.h"
#include "engine/baserates.h"

#include <QDialog>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class TBaseRateStore {
public:
    // <user's data folder>/tarvo/basiszinssaetze.txt
    static QString DefaultPath();
    explicit TBaseRateStore(QString path = DefaultPath());

    const QString &Path() const { return FPath; }
    const TBaseRateTable &Table() const { return FTable; }

    // Reads the user's file afresh. A broken one is moved aside by the engine and its error
    // given; then only the shipped rates count.
    TEngineError Load();
    // Adds or corrects the user's rate of a half-year and saves the file; on an error nothing
    // changes, in memory or on disk.
    TEngineError Set(const TBaseRate &rate);
    // Takes over the half-years of a Bundesbank download; `changed` counts those whose rate in
    // force changed.
    TEngineError Import(const QString &csvPath, int &changed);

private:
    TEngineError Commit(const std::vector<TBaseRate> &user);

    QString FPath;
    std::vector<TBaseRate> FUser;
    TBaseRateTable FTable;
};

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
