#pragma once
// The default-interest window (Verzugszinsen): it takes the claim, the period, the rate rule and
// the day count, has the engine calculate as soon as they change, shows the statement as a table
// with its sums and rules (or, while the inputs give none, why not), and copies, saves or prints
// it. It remembers its inputs (the last day opens on today), size and position. An ordinary
// window: it opens inside the screen and clear of the bar.

#include "app/claims/atratesdialog.h"
#include "app/claims/baseratesdialog.h"
#include "app/claims/verzugmodel.h"
#include "editors/dateedit.h"
#include "editors/numedit.h"
#include "settings/storedsettings.h"

#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QScrollArea;
class QTableView;

class TVerzugForm : public QWidget {
    Q_OBJECT
public:
    explicit TVerzugForm(QWidget *parent = nullptr);

    const TDefaultInterestStatement &Statement() const { return FModel->Statement(); }

    // From the inputs to the statement; false, with a message and the faulty input focused,
    // when they do not give one. A failed calculation leaves no statement behind.
    bool Calculate();
    // The same without a message: the statement, or no statement and the reason beside the
    // table. Runs at every change of an input.
    void Recalculate();
    // Each calculates first, so that what leaves the window always matches the inputs.
    void CopyStatement();
    void SaveCsv();
    void SavePdf();
    // Asks where (the kind names the file type), renders the statement and writes it there.
    void SaveAs(const QString &kind, const QString &filter,
                QByteArray (*render)(const TDefaultInterestStatement &));
    void PrintStatement();
    // The base-rate dialog of the law (Austria's under Austrian law), with a half-year preset
    // (EmptyDate: the next one not known).
    void OpenRates(TDateTime halfYear = EmptyDate);

    // Sets up the printer; false when the user cancelled. Empty: the desktop's print dialog.
    void SetChoosePrinter(std::function<bool(QPrinter &)> choose) { FChoosePrinter = choose; }
    // Where the claim goes on as the first claim of a claims statement (with costs and partial
    // payments); without it the window offers none.
    void SetOpenClaims(std::function<void(const TDefaultInterestInput &)> open);
    // The window the form opens clear of (the bar), while that one is shown.
    void SetKeepClearOf(const QWidget *window) { FKeepClearOf = window; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // What the inputs give: the statement, or why there is none and where to mend it.
    struct TOutcome {
        TDefaultInterestStatement Statement;
        QString Reason;
        QWidget *Field = nullptr;
        TEngineError Error; // when the engine refused
    };

    void BuildInputs(QGridLayout *grid);
    QLayout *BuildSums();
    QLayout *BuildButtons();
    void SetTabOrder();
    // The rules, check box, flat fee and day counts the law of the case offers.
    void LawChanged();
    TLaw CurrentLaw() const;
    TRateKind CurrentRule() const;
    void RuleChanged();
    void FirstDayChanged();
    void FlatFeeToggled(bool checked);
    TOutcome Evaluate();
    void ShowOutcome(const TOutcome &outcome);
    bool ReadInputs(TDefaultInterestInput &input, TOutcome &fault);
    bool ReadDay(TDateEdit *field, const QString &missing, TDateTime &day, TOutcome &fault);
    void Refuse(const QString &message, QWidget *field);
    void ReportEngineError(const TEngineError &error);
    void ShowStatement(const TDefaultInterestStatement &statement);
    void ShowReach();
    // The half-year rates the window's law and rule read, and how far they reach.
    const TBaseRateTable &LawRates() const;
    void LoadRates();
    QString AskExportPath(const QString &caption, const QString &suffix, const QString &filter);
    void Export(const QString &path, const QByteArray &data);
    void RestoreSettings();
    // The one place the window's values are written: as it closes, and as the program ends.
    void SaveSettings();
    void RestoreGeometry();
    // Inside the screen's area at any scale, and clear of the bar, as the window opens.
    void PlaceOnScreen();
    QMargins FrameMargins() const;

    // The children, each with its own name as object name ("Amount"), so that tools and tests
    // find them. The inputs, in tab order.
    QComboBox *Law = nullptr; // TLaw as item data
    TCurrencyEdit *Amount = nullptr;
    TDateEdit *FirstDay = nullptr;
    TDateEdit *LastDay = nullptr;
    QComboBox *RateRule = nullptr; // the law's rules, TRateKind as item data
    // Germany: the claim arose before 29.07.2014; Austria: the contract was made before
    // 16.03.2013.
    QCheckBox *Before29072014 = nullptr;
    QLabel *RateLabel = nullptr;
    QLineEdit *Rate = nullptr; // the fixed rate or the margin
    QCheckBox *FlatFee = nullptr;
    QComboBox *DayCount = nullptr;   // TDayCount as item data
    QCheckBox *PaymentDay = nullptr; // the day of payment counts
    QPushButton *CalculateButton = nullptr;
    // The statement, or why the inputs give none.
    QLabel *Reason = nullptr;
    QTableView *Table = nullptr;
    QList<QLabel *> SumLabels, SumValues; // "SumLabel1", "SumValue1" …
    QLabel *Rules = nullptr;
    QLabel *Note = nullptr;
    QLabel *Reach = nullptr;
    QPushButton *RatesButton = nullptr;
    QPushButton *CopyButton = nullptr;
    QPushButton *CsvButton = nullptr;
    QPushButton *PdfButton = nullptr;
    QPushButton *PrintButton = nullptr;
    QPushButton *ClaimsButton = nullptr; // shown once SetOpenClaims is given
    QPushButton *CloseButton = nullptr;

    TStatementModel *FModel = nullptr;
    TStoredValues FSettings{VerzugSettings};
    TBaseRateStore FRates;
    TBaseRateDialog *FRatesDialog = nullptr; // "RatesDialog", once opened
    // Austria's changes with the user's over them, read as the window opens.
    TAtBaseRates FAtRates = ShippedAtBaseRates();
    TAtRateDialog *FAtRatesDialog = nullptr; // "AtRatesDialog", once opened
    std::function<bool(QPrinter &)> FChoosePrinter;
    std::function<void(const TDefaultInterestInput &)> FOpenClaims;
    const QWidget *FKeepClearOf = nullptr;
    // Once the user has set the old-claim box, the first day no longer presets it (until the
    // law changes the box's meaning).
    bool FBeforeTouched = false;
    // The flat fee as the user chose it; shown only while the rule offers it.
    bool FFlatFeeChoice = false;
};
