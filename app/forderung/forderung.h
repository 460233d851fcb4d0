#pragma once
// The claims statement's window (Forderungsaufstellung): the case's head, its claims, costs and
// payments in three tables, and the statement the engine makes of them as soon as they are
// complete (or, while they give none, why not), with the Antragstext. Cases are kept as files
// (Datei menu); the statement is copied, saved as CSV or PDF, or printed. An ordinary window:
// it opens inside the screen and clear of the bar.

#include "app/forderung/entries.h"
#include "app/forderung/forderungmodel.h"
#include "editors/dateedit.h"
#include "engine/baseratestore.h"
#include "engine/defaultinterest.h"
#include "settings/storedsettings.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QTabWidget;
class QTableView;
class QTableWidget;

class TForderungForm : public QWidget {
    Q_OBJECT
public:
    explicit TForderungForm(QWidget *parent = nullptr);

    // The statement of the inputs as last calculated; no bookings while they give none.
    const TClaimsReport &Report() const { return FModel->Report(); }
    // The case file the window shows, empty for a new case.
    const QString &FilePath() const { return FPath; }

    // From the inputs to the statement; false, with a message and the faulty cell or field
    // focused, when they give none.
    bool Calculate();
    // The same without a message; runs at every change of an input.
    void Recalculate();

    // Each asks first what becomes of unsaved changes (Speichern, Verwerfen, Abbrechen); false
    // when the user cancelled or the file could not be read or written (then nothing changed).
    bool NewCase();
    // Empty: the file dialog asks which.
    bool OpenCase(const QString &path = {});
    bool SaveCase();
    bool SaveCaseAs();
    // A new case with the default-interest window's claim as its first claim.
    bool StartWithClaim(const TDefaultInterestInput &input);
    // Whether the changes may go: saved, discarded or none; false when the user cancelled.
    bool ChangesSettled();

    // Each calculates first, so that what leaves the window always matches the inputs.
    void CopyStatement();
    void CopyApplication();
    void SaveCsv();
    void SavePdf();
    void PrintStatement();

    // Sets up the printer; false when the user cancelled. Empty: the desktop's print dialog.
    void SetChoosePrinter(std::function<bool(QPrinter &)> choose) { FChoosePrinter = choose; }
    // The window the form opens clear of (the bar), while that one is shown.
    void SetKeepClearOf(const QWidget *window) { FKeepClearOf = window; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct TOutcome {
        TClaimsReport Report;
        TEntryFault Fault; // Row -1 with a FaultField: a field of the head
        QWidget *FaultField = nullptr;
    };

    void BuildMenu();
    QWidget *BuildHead();
    QWidget *BuildEntries();
    QLayout *BuildButtons();
    void LawChanged();
    void FillDayCounts(TDayCount wanted);
    void FillAllocations(TAllocationRule wanted);
    void Changed();
    void UpdateTitle();
    TOutcome Evaluate();
    void ShowOutcome(const TOutcome &outcome);
    void Refuse(const TOutcome &outcome);
    void Show(const TCaseFile &file, const QString &path);
    TCaseFile CaseOfInputs(TClaimsCase input) const;
    bool WriteCase(const QString &path);
    QTableView *EntryView(TEntryTable table) const;
    TEntryModel *EntryModel(TEntryTable table) const;
    void AddEntry(TEntryTable table);
    void RemoveEntry(TEntryTable table);
    void UpdateTabTexts();
    void RememberFile(const QString &path);
    void FillRecentMenu();
    QString Folder() const;
    QString SuggestedName(const QString &suffix) const;
    QString AskExportPath(const QString &kind, const QString &suffix);
    void Export(const QString &path, const QByteArray &data);
    void LoadRates();
    void RestoreGeometry();
    void PlaceOnScreen();
    void SaveSettings();

    // The children, each with its own name as object name, so that tools and tests find them.
    QLineEdit *CaseName = nullptr;
    QLineEdit *Reference = nullptr;
    QLineEdit *Creditor = nullptr;
    QLineEdit *Debtor = nullptr;
    TDateEdit *StatementDay = nullptr;
    QComboBox *Law = nullptr;         // TLaw as item data
    QComboBox *DayCount = nullptr;    // TDayCount as item data
    QComboBox *Allocation = nullptr;  // TAllocationRule as item data, where the law offers two
    QLabel *AllocationText = nullptr; // the law's one order otherwise
    QTabWidget *Entries = nullptr;
    QTableView *Claims = nullptr;
    QTableView *Costs = nullptr;
    QTableView *Payments = nullptr;
    QLabel *Reason = nullptr;
    QTableView *Table = nullptr;
    QTableWidget *Sums = nullptr;
    QLabel *Rules = nullptr;
    QPlainTextEdit *Application = nullptr;
    QPushButton *CopyApplicationButton = nullptr;
    QPushButton *CopyButton = nullptr;
    QPushButton *CsvButton = nullptr;
    QPushButton *PdfButton = nullptr;
    QPushButton *PrintButton = nullptr;
    QPushButton *CloseButton = nullptr;
    QMenu *RecentMenu = nullptr;

    TEntryModel *FClaims = nullptr;
    TEntryModel *FCosts = nullptr;
    TEntryModel *FPayments = nullptr;
    TClaimsModel *FModel = nullptr;
    TStoredValues FSettings{ForderungSettings};
    TBaseRateStore FRates;
    QString FPath;
    // What the file held besides the entries, written back on save.
    TCaseFile FFile;
    // The statement day is "today" (the file names none) until the user sets one.
    bool FStatementDayIsToday = true;
    // While the window fills its inputs itself, no change counts as the user's.
    bool FFilling = false;
    std::function<bool(QPrinter &)> FChoosePrinter;
    const QWidget *FKeepClearOf = nullptr;
};
