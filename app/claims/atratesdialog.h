#pragma once
// The dialog of Austria's base rates: the changes as the Oesterreichische Nationalbank made
// them (and the user's over them), how far each half-year rule reaches, and a change of the
// user's added, corrected or deleted. The user's changes have a file of their own.

#include "editors/dateedit.h"
#include "engine/atbaserates.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class TAtRateDialog : public QDialog {
    Q_OBJECT
public:
    // `path`: the user's file of Austrian changes.
    explicit TAtRateDialog(QString path, QWidget *parent = nullptr);

    // Shows the changes read afresh, the day preset (EmptyDate: the day after the known days).
    void Open(TDateTime day);
    // Eintragen: the typed day and rate into the user's file.
    void SetRate();
    // Löschen: the user's change of the selected row out of the file.
    void DeleteRate();
    void Refresh();

signals:
    void RatesChanged();

private:
    void Refuse(const QString &message, QWidget *field);
    void RowPicked(int row);

    TDateEdit *Day = nullptr;
    QLineEdit *Rate = nullptr;
    QPushButton *SetButton = nullptr;
    QPushButton *DeleteButton = nullptr;
    QTableWidget *Rates = nullptr;
    QLabel *Reach = nullptr;
    QLabel *Status = nullptr;

    QString FPath;
    TAtBaseRates FRates;
};
