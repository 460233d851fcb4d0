#pragma once
// The default-interest window (Verzugszinsen): it takes the claim, the period, the rate rule and
// the day count, has the engine calculate, shows the statement as a table with its sums and
// rules, and copies, saves or prints it. It remembers its inputs, size and position.

#include "app/baseratesdialog.h"
#include "app/verzugmodel.h"
#include "app/verzugsettings.h"
#include "editors/dateedit.h"
#include "editors/numedit.h"

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
class QTableView;

class TVerzugForm : public QWidget {
    Q_OBJECT
public:
    explicit TVerzugForm(QWidget *parent = nullptr);
    // Stores the inputs, size and position once more, as the program ends.
    ~TVerzugForm() override;

    // The inputs, in tab order.
    TCurrencyEdit *Amount = nullptr;
    TDateEdit *FirstDay = nullptr;
    TDateEdit *LastDay = nullptr;
    QComboBox *RateRule = nullptr; // indexed by TRateKind
    QCheckBox *Before29072014 = nullptr;
    QLabel *RateLabel = nullptr;
    QLineEdit *Rate = nullptr; // the fixed rate or the margin
    QCheckBox *FlatFee = nullptr;
    QComboBox *DayCount = nullptr; // TDayCount as item data
    QPushButton *CalculateButton = nullptr;
    // The statement.
    QTableView *Table = nullptr;
    QList<QLabel *> SumLabels, SumValues;
    QLabel *Rules = nullptr;
    QLabel *Note = nullptr;
    QLabel *Reach = nullptr;
    QPushButton *RatesButton = nullptr;
    QPushButton *CopyButton = nullptr;
    QPushButton *CsvButton = nullptr;
    QPushButton *PdfButton = nullptr;
    QPushButton *PrintButton = nullptr;
    QPushButton *CloseButton = nullptr;

    const TStatement &Statement() const { return FModel->Statement(); }
    TBaseRateStore &BaseRates() { return FRates; }
    TBaseRateDialog *RatesDialog() const { return FRatesDialog; }

    // From the inputs to the statement; false, with a message and the faulty input focused,
    // when they do not give one. A failed calculation leaves no statement behind.
    bool Calculate();
    // Each calculates first, so that what leaves the window always matches the inputs.
    void CopyStatement();
    void SaveCsv();
    void SavePdf();
    // Asks where (the kind names the file type), renders the statement and writes it there.
    void SaveAs(const QString &kind, const QString &filter,
                QByteArray (*render)(const TStatement &));
    void PrintStatement();
    // The base-rate dialog, with a half-year preset (EmptyDate: the next one not known).
    void OpenRates(TDateTime halfYear = EmptyDate);
    // Writes the inputs, size and position to the settings; raises ERegistryException.
    void StoreSettings();

    // Sets up the printer; false when the user cancelled. Empty: the desktop's print dialog.
    std::function<bool(QPrinter &)> ChoosePrinter;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildInputs(QGridLayout *grid);
    QLayout *BuildSums();
    QLayout *BuildButtons();
    void SetTabOrder();
    void RuleChanged();
    void FirstDayChanged();
    bool ReadInputs(TDefaultInterestInput &input);
    bool ReadDay(TDateEdit *field, const QString &missing, TDateTime &day);
    void Refuse(const QString &message, QWidget *field);
    void ReportEngineError(const TEngineError &error);
    void ShowStatement(const TStatement &statement);
    void ShowReach();
    void LoadRates();
    QString AskExportPath(const QString &caption, const QString &suffix, const QString &filter);
    void Export(const QString &path, const QByteArray &data);
    void RestoreSettings();
    void RestoreGeometry();
    // StoreSettings with its error in the error report.
    void StoreSettingsOrReport();

    TStatementModel *FModel = nullptr;
    TVerzugSettings FSettings;
    TBaseRateStore FRates;
    TBaseRateDialog *FRatesDialog = nullptr;
    TEngineErrorCode FLastError = ecNone;
};
