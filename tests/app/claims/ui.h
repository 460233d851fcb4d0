#pragma once
// The children of the default-interest window and of its rates dialog as the tests reach them:
// by type and object name, as Qt's own tests do, each the one of its own window (the window's
// "Rate" is not the dialog's).

#include "app/claims/baseratesdialog.h"
#include "app/claims/baseratesmodel.h"
#include "app/claims/verzug.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

#include <type_traits>

// By dynamic_cast: the date and currency fields carry no meta-object of their own.
template <class T> T *Child(const QWidget &window, const QString &name) {
    for (QObject *object : window.findChildren<QObject *>(name)) {
        T *child = dynamic_cast<T *>(object);
        if (!child) continue;
        if constexpr (std::is_base_of_v<QWidget, T>) {
            if (child->window() != &window) continue;
        }
        return child;
    }
    ADD_FAILURE() << window.metaObject()->className() << " has no " << name.toStdString();
    return nullptr;
}

// The rates dialog once the window has opened it, else nullptr.
inline TBaseRateDialog *RatesDialogOf(const TVerzugForm &form) {
    return form.findChild<TBaseRateDialog *>(QStringLiteral("RatesDialog"));
}

struct TVerzugUi {
    explicit TVerzugUi(const TVerzugForm &form) : Form(form) {
        for (int i = 1; i <= 5; ++i) {
            SumLabels << Child<QLabel>(form, QStringLiteral("SumLabel%1").arg(i));
            SumValues << Child<QLabel>(form, QStringLiteral("SumValue%1").arg(i));
        }
    }
    const TVerzugForm &Form;
    QComboBox *Law = Child<QComboBox>(Form, "Law");
    TCurrencyEdit *Amount = Child<TCurrencyEdit>(Form, "Amount");
    TDateEdit *FirstDay = Child<TDateEdit>(Form, "FirstDay");
    TDateEdit *LastDay = Child<TDateEdit>(Form, "LastDay");
    QComboBox *RateRule = Child<QComboBox>(Form, "RateRule");
    QCheckBox *Before29072014 = Child<QCheckBox>(Form, "Before29072014");
    QLineEdit *Rate = Child<QLineEdit>(Form, "Rate");
    QCheckBox *FlatFee = Child<QCheckBox>(Form, "FlatFee");
    QComboBox *DayCount = Child<QComboBox>(Form, "DayCount");
    QCheckBox *PaymentDay = Child<QCheckBox>(Form, "PaymentDay");
    QPushButton *CalculateButton = Child<QPushButton>(Form, "CalculateButton");
    QLabel *Reason = Child<QLabel>(Form, "Reason");
    QTableView *Table = Child<QTableView>(Form, "Table");
    QList<QLabel *> SumLabels, SumValues;
    QLabel *Rules = Child<QLabel>(Form, "Rules");
    QLabel *Note = Child<QLabel>(Form, "Note");
    QLabel *Reach = Child<QLabel>(Form, "Reach");
    QPushButton *RatesButton = Child<QPushButton>(Form, "RatesButton");
    QPushButton *CopyButton = Child<QPushButton>(Form, "CopyButton");
    QPushButton *CsvButton = Child<QPushButton>(Form, "CsvButton");
    QPushButton *PdfButton = Child<QPushButton>(Form, "PdfButton");
    QPushButton *PrintButton = Child<QPushButton>(Form, "PrintButton");
    QPushButton *CloseButton = Child<QPushButton>(Form, "CloseButton");
};

struct TRatesUi {
    explicit TRatesUi(TBaseRateDialog &dialog) : Dialog(dialog) {}
    TBaseRateDialog &Dialog;
    TBaseRateModel *Model = Child<TBaseRateModel>(Dialog, "Model");
    TDateEdit *HalfYear = Child<TDateEdit>(Dialog, "HalfYear");
    QLineEdit *Rate = Child<QLineEdit>(Dialog, "Rate");
    QPushButton *SetButton = Child<QPushButton>(Dialog, "SetButton");
    QPushButton *DeleteButton = Child<QPushButton>(Dialog, "DeleteButton");
    QPushButton *ImportButton = Child<QPushButton>(Dialog, "ImportButton");
    QPushButton *UpdateButton = Child<QPushButton>(Dialog, "UpdateButton");
    QPushButton *CancelUpdateButton = Child<QPushButton>(Dialog, "CancelUpdateButton");
    QTableView *Rates = Child<QTableView>(Dialog, "Rates");
    QLabel *Status = Child<QLabel>(Dialog, "Status");
    QLabel *SetAsideNote = Child<QLabel>(Dialog, "SetAsideNote");
    QPushButton *SetAsideButton = Child<QPushButton>(Dialog, "SetAsideButton");
};
