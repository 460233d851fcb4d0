#include "app/claims/baseratesdialog.h"

#include "app/claims/baseratesmodel.h"
#include "app/claims/children.h"
#include "engine/baserateupdate.h"
#include "engine/bundesbank.h"
#include "engine/fixedtext.h"
#include "platform/base/exceptions.h"
#include "platform/base/services.h"
#include "platform/core/desktop.h"
#include "report/amounts.h"
#include "report/errortext.h"
#include "report/ruletexts.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString Caption = QStringLiteral("Basiszinssätze");

QString Shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// Widths from the widest text a column can hold, set once: measuring every row's text after
// each change would cost the whole table's rows each time.
void SizeColumns(QTableView *table) {
    const QFontMetrics cells(table->font());
    // Bold, as a header may draw the section of a selected column.
    QFont bold = table->horizontalHeader()->font();
    bold.setBold(true);
    const QFontMetrics header(bold);
    const int margin = 2 * table->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, table) +
                       2 * cells.horizontalAdvance(u' ');
    const QString widest[] = {QStringLiteral("00.00.0000"), QStringLiteral("-00,00 %")};
    for (int column : {TBaseRateModel::cmHalfYear, TBaseRateModel::cmRate}) {
        const QString title = table->model()->headerData(column, Qt::Horizontal).toString();
        table->setColumnWidth(column, std::max(cells.horizontalAdvance(widest[column]),
                                               header.horizontalAdvance(title)) +
                                          margin);
    }
    table->horizontalHeader()->setStretchLastSection(true);
    // Whole rows are picked: every column would be marked.
    table->horizontalHeader()->setHighlightSections(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(cells.height() + 6);
}

} // namespace

TBaseRateDialog::TBaseRateDialog(TBaseRateStore &store, QWidget *parent)
    : QDialog(parent), FStore(store) {
    setWindowTitle(Caption);
    setAttribute(Qt::WA_QuitOnClose, false);
    setObjectName(QStringLiteral("RatesDialog"));
    auto *intro = new QLabel(
        QStringLiteral("Basiszinssätze nach § 247 BGB, je Halbjahr. Eigene Sätze gehen den "
                       "mitgelieferten vor; sie stehen in\n„%1“.")
            .arg(Shown(store.Path())));
    intro->setObjectName(QStringLiteral("Intro"));
    intro->setWordWrap(true);
    intro->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SetAsideNote = new QLabel(this);
    SetAsideNote->setWordWrap(true);
    SetAsideNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SetAsideButton = new QPushButton(QStringLiteral("Beiseitegelegte Datei &zeigen …"), this);
    SetAsideButton->setAutoDefault(false);
    connect(SetAsideButton, &QPushButton::clicked, this, [this] { ShowSetAside(); });

    FModel = new TBaseRateModel(this);
    Rates = new QTableView(this);
    Rates->setModel(FModel);
    Rates->verticalHeader()->hide();
    Rates->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Rates->setSelectionBehavior(QAbstractItemView::SelectRows);
    Rates->setSelectionMode(QAbstractItemView::SingleSelection);
    Rates->setTabKeyNavigation(false);
    Rates->setAccessibleName(QStringLiteral("Bekannte Basiszinssätze"));
    SizeColumns(Rates);
    connect(Rates->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { RowPicked(current); });
    // A click on the row already picked fills the fields again, after they were typed over.
    connect(Rates, &QTableView::clicked, this,
            [this](const QModelIndex &index) { RowPicked(index); });
    auto *deleteKey = new QAction(Rates);
    deleteKey->setShortcut(QKeySequence::Delete);
    deleteKey->setShortcutContext(Qt::WidgetShortcut);
    connect(deleteKey, &QAction::triggered, this, [this] { DeleteRate(); });
    Rates->addAction(deleteKey);

    HalfYear = new TDateEdit(nullptr, this);
    HalfYear->SetYearDigits(TYearDigits::dyFour);
    HalfYear->SetDialogTitle(QStringLiteral("Halbjahr ab"));
    HalfYear->setAccessibleName(QStringLiteral("Halbjahr ab, 1. Januar oder 1. Juli"));
    Rate = new QLineEdit(this);
    Rate->setAccessibleName(QStringLiteral("Basiszinssatz in Prozent"));
    Rate->setPlaceholderText(QStringLiteral("z. B. 1,27"));
    SetButton = new QPushButton(QStringLiteral("&Eintragen"), this);
    SetButton->setDefault(true);
    connect(SetButton, &QPushButton::clicked, this, [this] { SetRate(); });
    DeleteButton = new QPushButton(QStringLiteral("&Löschen"), this);
    DeleteButton->setAutoDefault(false);
    DeleteButton->setAccessibleDescription(
        QStringLiteral("Löscht den eigenen Basiszinssatz der gewählten Zeile"));
    DeleteButton->setEnabled(false);
    connect(DeleteButton, &QPushButton::clicked, this, [this] { DeleteRate(); });
    ImportButton = new QPushButton(QStringLiteral("Bundesbank-CSV &importieren …"), this);
    connect(ImportButton, &QPushButton::clicked, this, [this] { Import(); });
    FUpdate = std::make_unique<TBaseRateUpdate>(store);
    FUpdate->OnDone = [this](const TEngineError &error, const std::vector<TRateChange> &changes) {
        Updated(error, changes);
    };
    UpdateButton = new QPushButton(QStringLiteral("Basiszinssätze &aktualisieren"), this);
    UpdateButton->setAccessibleDescription(
        QStringLiteral("Lädt die Basiszinssätze über das Internet von der Deutschen Bundesbank"));
    connect(UpdateButton, &QPushButton::clicked, this, [this] { Update(); });
    CancelUpdateButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    CancelUpdateButton->setAccessibleDescription(
        QStringLiteral("Bricht das Laden der Basiszinssätze ab"));
    connect(CancelUpdateButton, &QPushButton::clicked, this, [this] { CancelUpdate(); });
    Status = new QLabel(this);
    Status->setWordWrap(true);

    auto *aside = new QHBoxLayout;
    aside->addWidget(SetAsideNote, 1);
    aside->addWidget(SetAsideButton, 0, Qt::AlignTop);
    auto *entry = new QGridLayout;
    entry->addWidget(BuddyLabel(QStringLiteral("&Halbjahr ab:"), HalfYear), 0, 0);
    entry->addWidget(HalfYear, 0, 1);
    entry->addWidget(BuddyLabel(QStringLiteral("&Basiszinssatz in %:"), Rate), 1, 0);
    entry->addWidget(Rate, 1, 1);
    entry->addWidget(SetButton, 1, 2);
    entry->addWidget(DeleteButton, 1, 3);
    entry->setColumnStretch(4, 1);
    auto *buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("Buttons"));
    buttons->addButton(ImportButton, QDialogButtonBox::ActionRole);
    buttons->addButton(UpdateButton, QDialogButtonBox::ActionRole);
    buttons->addButton(CancelUpdateButton, QDialogButtonBox::ActionRole);
    CancelUpdateButton->hide();
    QPushButton *close =
        buttons->addButton(QStringLiteral("&Schließen"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(aside);
    layout->addWidget(Rates, 1);
    layout->addLayout(entry);
    layout->addWidget(Status);
    layout->addWidget(buttons);
    setTabOrder(HalfYear, Rate);
    setTabOrder(Rate, SetButton);
    setTabOrder(SetButton, DeleteButton);
    resize(500, 460);
    NameChildren(*this, {{FModel, "Model"},
                         {HalfYear, "HalfYear"},
                         {Rate, "Rate"},
                         {SetButton, "SetButton"},
                         {DeleteButton, "DeleteButton"},
                         {ImportButton, "ImportButton"},
                         {UpdateButton, "UpdateButton"},
                         {CancelUpdateButton, "CancelUpdateButton"},
                         {Rates, "Rates"},
                         {Status, "Status"},
                         {SetAsideNote, "SetAsideNote"},
                         {SetAsideButton, "SetAsideButton"}});
    Refresh();
}

TBaseRateDialog::~TBaseRateDialog() = default;

void TBaseRateDialog::Open(TDateTime halfYear) {
    Refresh();
    if (halfYear == EmptyDate)
        halfYear = FStore.Table().Reach() == EmptyDate ? FirstBaseRateDay()
                                                       : NextHalfYearStart(FStore.Table().Reach());
    HalfYear->SetDateValue(halfYear);
    Rate->clear();
    Status->clear();
    show();
    raise();
    activateWindow();
    Rate->setFocus(Qt::OtherFocusReason);
}

void TBaseRateDialog::Refresh() {
    FRefreshing = true;
    FModel->SetRates(FStore.Table().Rates());
    FRefreshing = false;
    const QModelIndex current = Rates->currentIndex();
    DeleteButton->setEnabled(current.isValid() && FModel->Rate(current.row()).User);
    const QStringList aside = FStore.SetAsideFiles();
    SetAsideNote->setVisible(!aside.isEmpty());
    SetAsideButton->setVisible(!aside.isEmpty());
    if (aside.isEmpty()) return;
    QString note = QStringLiteral("Eine Datei mit eigenen Basiszinssätzen war nicht lesbar und "
                                  "wurde als „%1“ beiseitegelegt; ihre Sätze gelten nicht.")
                       .arg(QFileInfo(aside.front()).fileName());
    if (aside.size() > 1)
        note += QStringLiteral(" Daneben liegen %1 ältere beiseitegelegte Dateien.")
                    .arg(aside.size() - 1);
    SetAsideNote->setText(note);
}

void TBaseRateDialog::RowPicked(const QModelIndex &current) {
    DeleteButton->setEnabled(current.isValid() && FModel->Rate(current.row()).User);
    // Only the user's own pick fills the fields, not a row that moves under a refresh.
    if (FRefreshing || !current.isValid()) return;
    const TBaseRate &rate = FModel->Rate(current.row());
    HalfYear->SetDateValue(rate.From);
    Rate->setText(GermanRate(rate.Rate));
}

void TBaseRateDialog::SelectHalfYear(TDateTime from) {
    const int row = FModel->RowOf(from);
    if (row < 0) return;
    FRefreshing = true;
    Rates->setCurrentIndex(FModel->index(row, 0));
    FRefreshing = false;
    Rates->scrollTo(FModel->index(row, 0));
}

void TBaseRateDialog::Changed() {
    Refresh();
    emit RatesChanged();
}

void TBaseRateDialog::SetRate() {
    if (!HalfYear->HasDateText())
        return Refuse(QStringLiteral("Bitte den ersten Tag des Halbjahrs eingeben, den 1. Januar "
                                     "oder den 1. Juli."),
                      HalfYear);
    TDateTime from = EmptyDate;
    try {
        from = WholeDay(HalfYear->StrictDateValue());
    } catch (const EConvertError &error) {
        return Refuse(error.Message(), HalfYear);
    }
    if (TEngineError error = CheckBaseRate(from, 0)) return Refuse(ErrorText(error), HalfYear);
    const std::optional<TBasisPoints> rate = ParseBasisPoints(Rate->text());
    if (!rate)
        return Refuse(QStringLiteral("„%1“ ist kein Zinssatz; erwartet wird eine Zahl mit "
                                     "höchstens zwei Nachkommastellen, etwa 1,27.")
                          .arg(Rate->text().trimmed()),
                      Rate);
    if (TEngineError error = FStore.Set({from, *rate, true})) {
        // The store read the file afresh: what it holds now is shown behind the message.
        Changed();
        return Refuse(ErrorText(error), error.Code == ecRate ? Rate : nullptr);
    }
    Status->setText(QStringLiteral("Basiszinssatz ab %1 eingetragen: %2 %.")
                        .arg(FormatDayDate(from), GermanRate(*rate)));
    Changed();
    SelectHalfYear(from);
}

void TBaseRateDialog::DeleteRate() {
    const QModelIndex current = Rates->currentIndex();
    if (!current.isValid() || !FModel->Rate(current.row()).User) return;
    const TBaseRate rate = FModel->Rate(current.row());
    if (TEngineError error = FStore.Remove(rate.From)) {
        Changed();
        return Refuse(ErrorText(error), nullptr);
    }
    const TBaseRate *shipped = ShippedBaseRates().Find(rate.From);
    Status->setText(
        QStringLiteral("Eigener Basiszinssatz ab %1 gelöscht").arg(FormatDayDate(rate.From)) +
        (shipped ? QStringLiteral("; es gilt wieder der mitgelieferte von %1 %.")
                       .arg(GermanRate(shipped->Rate))
                 : QStringLiteral(".")));
    Changed();
    SelectHalfYear(rate.From);
}

void TBaseRateDialog::Import() {
    const QString path =
        Desktop().OpenFileName(QStringLiteral("Bundesbank-CSV importieren"),
                               QStandardPaths::writableLocation(QStandardPaths::DownloadLocation),
                               QStringLiteral("CSV-Dateien (*.csv);;Alle Dateien (*)"));
    if (path.isEmpty()) return;
    int changed = 0;
    if (TEngineError error = FStore.Import(path, changed)) {
        Changed();
        return Refuse(ErrorText(error), nullptr);
    }
    Status->setText(ImportReportText(path, changed));
    Changed();
}

void TBaseRateDialog::Update() {
    if (FUpdate->Running()) return;
    Status->setText(
        QStringLiteral("Die Basiszinssätze werden von „%1“ geladen …").arg(FUpdate->Url()));
    ShowUpdating(true);
    FUpdate->Start();
}

void TBaseRateDialog::CancelUpdate() {
    if (!FUpdate->Running()) return;
    FUpdate->Cancel();
    ShowUpdating(false);
    Status->setText(QStringLiteral("Aktualisieren abgebrochen; es wurde nichts geändert."));
}

void TBaseRateDialog::Updated(const TEngineError &error, const std::vector<TRateChange> &changes) {
    ShowUpdating(false);
    if (error) {
        Status->clear();
        // The store may have read the file afresh on the way.
        Changed();
        return Refuse(ErrorText(error), nullptr);
    }
    Status->setText(UpdateReportText(changes));
    Changed();
    if (!changes.empty()) SelectHalfYear(changes.back().From);
}

void TBaseRateDialog::ShowUpdating(bool updating) {
    const bool focused = UpdateButton->hasFocus() || CancelUpdateButton->hasFocus();
    CancelUpdateButton->setVisible(updating);
    UpdateButton->setEnabled(!updating);
    if (focused) (updating ? CancelUpdateButton : UpdateButton)->setFocus(Qt::OtherFocusReason);
}

void TBaseRateDialog::hideEvent(QHideEvent *event) {
    CancelUpdate();
    QDialog::hideEvent(event);
}

void TBaseRateDialog::ShowSetAside() {
    const QStringList aside = FStore.SetAsideFiles();
    if (aside.isEmpty()) return Refresh();
    if (!Desktop().OpenUrl(QUrl::fromLocalFile(aside.front()).toString()))
        Refuse(QStringLiteral("Für „%1“ ist kein Programm eingerichtet, das die Datei öffnet; "
                              "sie liegt im Ordner „%2“.")
                   .arg(QFileInfo(aside.front()).fileName(),
                        Shown(QFileInfo(aside.front()).absolutePath())),
               nullptr);
}

void TBaseRateDialog::Refuse(const QString &message, QWidget *field) {
    Desktop().ShowMessage(Caption, message);
    if (!field) return;
    field->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(field)) edit->selectAll();
}
