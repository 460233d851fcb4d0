#include "app/forderung/forderung.h"

#include "app/artwork/artwork.h"
#include "app/forderung/forderungexport.h"
#include "platform/base/exceptions.h"
#include "platform/core/desktop.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/application.h"
#include "platform/gui/screens.h"
#include "report/amounts.h"
#include "report/errortext.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWindow>

namespace {

const QString Caption = QStringLiteral("Forderungsaufstellung");
constexpr QSize FirstSize(1120, 900);
constexpr QSize LeastSize(500, 400);
constexpr int MostRecentFiles = 8;

QLabel *BuddyLabel(const QString &text, QWidget *buddy) {
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QString NativePath(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// The rule cells choose from the rules the law offers.
class TRuleDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override {
        const auto *model = qobject_cast<const TEntryModel *>(index.model());
        if (!model || model->Kind(index.column()) != TEntryModel::ckRule)
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto *combo = new QComboBox(parent);
        for (const TRateKind kind : RulesOffered(model->Law()))
            combo->addItem(RuleName(kind, model->Law()), int(kind));
        return combo;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override {
        if (auto *combo = qobject_cast<QComboBox *>(editor))
            combo->setCurrentIndex(std::max(0, combo->findData(index.data(Qt::EditRole))));
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override {
        if (auto *combo = qobject_cast<QComboBox *>(editor))
            model->setData(index, combo->currentData(), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }
};

QTableView *EntryTableView(TEntryModel *model, const QString &name, QWidget *parent) {
    auto *view = new QTableView(parent);
    view->setModel(model);
    view->setAccessibleName(name);
    view->setItemDelegate(new TRuleDelegate(view));
    view->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                          QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->horizontalHeader()->setStretchLastSection(true);
    // Wide enough for what the cells usually hold.
    const QFontMetrics metrics = view->fontMetrics();
    for (int column = 0; column < model->columnCount(); ++column) {
        const char16_t *sample = u"00.00.00000";
        switch (model->Kind(column)) {
        case TEntryModel::ckText:
            sample = u"Rechnung 4711 vom 15.01.2024";
            break;
        case TEntryModel::ckRule:
            sample = u"Aufschlag auf den Basiszinssatz ▾";
            break;
        case TEntryModel::ckAmount:
            sample = u"0.000.000,00";
            break;
        default:
            break;
        }
        view->setColumnWidth(column,
                             std::max(metrics.horizontalAdvance(QString::fromUtf16(sample)),
                                      metrics.horizontalAdvance(
                                          model->headerData(column, Qt::Horizontal).toString())) +
                                 16);
    }
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->setMinimumHeight(view->fontMetrics().height() * 8);
    return view;
}

const TEntryTable AllTables[] = {TEntryTable::Claims, TEntryTable::Costs, TEntryTable::Payments};

} // namespace

TForderungForm::TForderungForm(QWidget *parent) : QWidget(parent, Qt::Window) {
    setWindowIcon(LoadProgramIcon());
    setAttribute(Qt::WA_QuitOnClose, false);
    FClaims = new TEntryModel(TEntryTable::Claims, this);
    FCosts = new TEntryModel(TEntryTable::Costs, this);
    FPayments = new TEntryModel(TEntryTable::Payments, this);
    FModel = new TClaimsModel(this);
    BuildMenu();
    QWidget *head = BuildHead();
    QWidget *entries = BuildEntries();

    Reason = new QLabel(this);
    Reason->setAccessibleName(QStringLiteral("Keine Aufstellung"));
    Reason->setWordWrap(true);
    Reason->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Reason->hide();
    Table = new QTableView(this);
    Table->setModel(FModel);
    Table->setAccessibleName(QStringLiteral("Forderungsaufstellung"));
    Table->verticalHeader()->hide();
    // The allocation's text wraps in a column of its own width; the others fit their content.
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table->horizontalHeader()->setSectionResizeMode(ccAllocation, QHeaderView::Interactive);
    Table->horizontalHeader()->setStretchLastSection(false);
    Table->setColumnWidth(ccAllocation, Table->fontMetrics().horizontalAdvance(QStringLiteral(
                                            "auf Kosten 508,04 · auf Zinsen 747,94 ·")) +
                                            12);
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setTabKeyNavigation(false);
    Table->setAlternatingRowColors(true);
    Table->setWordWrap(true);
    Table->setMinimumHeight(Table->fontMetrics().height() * 12);
    Sums = new QTableWidget(0, 2, this);
    Sums->setAccessibleName(QStringLiteral("Summen"));
    Sums->horizontalHeader()->hide();
    Sums->verticalHeader()->hide();
    Sums->setShowGrid(false);
    Sums->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Sums->setFocusPolicy(Qt::NoFocus);
    Sums->setFrameShape(QFrame::NoFrame);
    Sums->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    Sums->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    Sums->verticalHeader()->setDefaultSectionSize(Sums->fontMetrics().height() + 4);
    Sums->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    Sums->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Sums->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Rules = new QLabel(this);
    Rules->setWordWrap(true);
    Rules->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Application = new QPlainTextEdit(this);
    Application->setReadOnly(true);
    Application->setAccessibleName(QStringLiteral("Antragstext"));
    Application->setMaximumHeight(Application->fontMetrics().height() * 6);
    Application->setTabChangesFocus(true);
    CopyApplicationButton = new QPushButton(QStringLiteral("Antragstext k&opieren"), this);
    connect(CopyApplicationButton, &QPushButton::clicked, this, [this] { CopyApplication(); });

    auto *below = new QGridLayout;
    below->addWidget(Sums, 0, 0, 2, 1, Qt::AlignTop);
    below->addWidget(BuddyLabel(QStringLiteral("An&tragstext:"), Application), 0, 1);
    below->addWidget(CopyApplicationButton, 0, 2, Qt::AlignRight);
    below->addWidget(Application, 1, 1, 1, 2);
    below->setColumnStretch(1, 1);

    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("Content"));
    auto *layout = new QVBoxLayout(content);
    layout->addWidget(head);
    layout->addWidget(entries, 2);
    layout->addWidget(BuddyLabel(QStringLiteral("A&ufstellung:"), Table));
    layout->addWidget(Reason);
    layout->addWidget(Table, 3);
    layout->addLayout(below);
    layout->addWidget(Rules);
    layout->addLayout(BuildButtons());
    auto *scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("Scroller"));
    scroller->setWidget(content);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    auto *outer = new QVBoxLayout(this);
    layout->setContentsMargins(outer->contentsMargins());
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setMenuBar(findChild<QMenuBar *>());
    outer->addWidget(scroller);

    const std::pair<QObject *, const char *> names[] = {
        {FClaims, "ClaimsModel"},
        {FCosts, "CostsModel"},
        {FPayments, "PaymentsModel"},
        {FModel, "StatementModel"},
        {CaseName, "CaseName"},
        {Reference, "Reference"},
        {Creditor, "Creditor"},
        {Debtor, "Debtor"},
        {StatementDay, "StatementDay"},
        {Law, "Law"},
        {DayCount, "DayCount"},
        {Allocation, "Allocation"},
        {AllocationText, "AllocationText"},
        {Entries, "Entries"},
        {Claims, "Claims"},
        {Costs, "Costs"},
        {Payments, "Payments"},
        {Reason, "Reason"},
        {Table, "Table"},
        {Sums, "Sums"},
        {Rules, "Rules"},
        {Application, "Application"},
        {CopyApplicationButton, "CopyApplicationButton"},
        {CopyButton, "CopyButton"},
        {CsvButton, "CsvButton"},
        {PdfButton, "PdfButton"},
        {PrintButton, "PrintButton"},
        {CloseButton, "CloseButton"},
        {RecentMenu, "RecentMenu"},
    };
    for (const auto &[child, name] : names)
        child->setObjectName(QLatin1String(name));
    for (QLabel *label : findChildren<QLabel *>())
        if (label->buddy()) label->setObjectName(label->buddy()->objectName() + "Label");
    AddShortcut(
        *this, {Qt::CTRL | Qt::SHIFT | Qt::Key_C}, QStringLiteral("Strg+Umschalt+C"),
        [this] { CopyStatement(); }, CopyButton);

    FSettings.Load();
    FillRecentMenu();
    RestoreGeometry();
    // A new case: Germany, today, no entries.
    {
        const QSignalBlocker quiet(Law);
        Law->setCurrentIndex(0);
    }
    LawChanged();
    FFile = TCaseFile();
    StatementDay->SetDateValue(CurrentDateSerial());

    const auto changed = [this] { Changed(); };
    for (QLineEdit *field : {CaseName, Reference, Creditor, Debtor})
        connect(field, &QLineEdit::textChanged, this, changed);
    StatementDay->OnChange = [this](TObject *) {
        if (!FFilling) FStatementDayIsToday = false;
        Changed();
    };
    connect(Law, &QComboBox::currentIndexChanged, this, [this] {
        LawChanged();
        Changed();
    });
    connect(DayCount, &QComboBox::currentIndexChanged, this, changed);
    connect(Allocation, &QComboBox::currentIndexChanged, this, changed);
    for (TEntryModel *model : {FClaims, FCosts, FPayments}) {
        connect(model, &QAbstractItemModel::dataChanged, this, changed);
        connect(model, &QAbstractItemModel::rowsInserted, this, changed);
        connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
    }
    setWindowModified(false);
    UpdateTitle();
    UpdateTabTexts();
    if (TApplication *app = TApplication::Instance())
        connect(app, &TApplication::Ending, this, [this] { SaveSettings(); });
}

void TForderungForm::BuildMenu() {
    auto *bar = new QMenuBar(this);
    QMenu *file = bar->addMenu(QStringLiteral("&Datei"));
    file->addAction(QStringLiteral("&Neu"), QKeySequence(Qt::CTRL | Qt::Key_N), this,
                    [this] { NewCase(); });
    file->addAction(QStringLiteral("Ö&ffnen …"), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                    [this] { OpenCase(); });
    file->addAction(QStringLiteral("&Speichern"), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                    [this] { SaveCase(); });
    file->addAction(QStringLiteral("Speichern &unter …"),
                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this, [this] { SaveCaseAs(); });
    RecentMenu = file->addMenu(QStringLiteral("&Zuletzt geöffnet"));
    file->addSeparator();
    // Its keys are the window's own (the copy button's), named here.
    file->addAction(QStringLiteral("&Kopieren\tStrg+Umschalt+C"), this,
                    [this] { CopyStatement(); });
    file->addAction(QStringLiteral("Als &CSV speichern …"), this, [this] { SaveCsv(); });
    file->addAction(QStringLiteral("Als &PDF speichern …"), this, [this] { SavePdf(); });
    file->addAction(QStringLiteral("D&rucken …"), QKeySequence(Qt::CTRL | Qt::Key_P), this,
                    [this] { PrintStatement(); });
    file->addSeparator();
    file->addAction(QStringLiteral("Sch&ließen"), QKeySequence(Qt::CTRL | Qt::Key_W), this,
                    [this] { close(); });
}

QWidget *TForderungForm::BuildHead() {
    auto *head = new QWidget(this);
    CaseName = new QLineEdit(head);
    CaseName->setPlaceholderText(QStringLiteral("Müller ./. Schmidt"));
    Reference = new QLineEdit(head);
    Creditor = new QLineEdit(head);
    Debtor = new QLineEdit(head);
    StatementDay = new TDateEdit(nullptr, head);
    StatementDay->SetYearDigits(TYearDigits::dyFour);
    StatementDay->SetDialogTitle(QStringLiteral("Stichtag"));
    StatementDay->setAccessibleName(QStringLiteral("Stichtag"));
    StatementDay->setMinimumWidth(
        StatementDay->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) +
        StatementDay->ButtonWidth() + 12);
    Law = new QComboBox(head);
    Law->addItem(QStringLiteral("Deutschland"), int(lwGermany));
    Law->addItem(QStringLiteral("Österreich"), int(lwAustria));
    Law->addItem(QStringLiteral("Schweiz"), int(lwSwitzerland));
    Law->setAccessibleName(QStringLiteral("Recht"));
    DayCount = new QComboBox(head);
    DayCount->setAccessibleName(QStringLiteral("Tageszählung"));
    Allocation = new QComboBox(head);
    Allocation->setAccessibleName(QStringLiteral("Verrechnung"));
    AllocationText = new QLabel(head);

    auto *grid = new QGridLayout(head);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(BuddyLabel(QStringLiteral("&Bezeichnung:"), CaseName), 0, 0);
    grid->addWidget(CaseName, 0, 1);
    grid->addWidget(BuddyLabel(QStringLiteral("&Aktenzeichen:"), Reference), 0, 2);
    grid->addWidget(Reference, 0, 3);
    grid->addWidget(BuddyLabel(QStringLiteral("&Gläubiger:"), Creditor), 1, 0);
    grid->addWidget(Creditor, 1, 1);
    grid->addWidget(BuddyLabel(QStringLiteral("Schu&ldner:"), Debtor), 1, 2);
    grid->addWidget(Debtor, 1, 3);
    grid->addWidget(BuddyLabel(QStringLiteral("St&ichtag:"), StatementDay), 2, 0);
    grid->addWidget(StatementDay, 2, 1, Qt::AlignLeft);
    grid->addWidget(BuddyLabel(QStringLiteral("Rec&ht:"), Law), 2, 2);
    grid->addWidget(Law, 2, 3, Qt::AlignLeft);
    grid->addWidget(BuddyLabel(QStringLiteral("Tages&zählung:"), DayCount), 3, 0);
    grid->addWidget(DayCount, 3, 1, Qt::AlignLeft);
    grid->addWidget(BuddyLabel(QStringLiteral("&Verrechnung:"), Allocation), 3, 2);
    auto *allocation = new QHBoxLayout;
    allocation->addWidget(Allocation);
    allocation->addWidget(AllocationText);
    allocation->addStretch();
    grid->addLayout(allocation, 3, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return head;
}

QWidget *TForderungForm::BuildEntries() {
    Entries = new QTabWidget(this);
    Claims = EntryTableView(FClaims, QStringLiteral("Forderungen"), this);
    Costs = EntryTableView(FCosts, QStringLiteral("Kosten"), this);
    Payments = EntryTableView(FPayments, QStringLiteral("Zahlungen"), this);
    static const char *const buttonNames[][2] = {{"AddClaimButton", "RemoveClaimButton"},
                                                 {"AddCostButton", "RemoveCostButton"},
                                                 {"AddPaymentButton", "RemovePaymentButton"}};
    for (const TEntryTable table : AllTables) {
        QTableView *view = EntryView(table);
        view->installEventFilter(this);
        auto *page = new QWidget;
        auto *add = new QPushButton(QStringLiteral("Hinzuf&ügen"), page);
        auto *remove = new QPushButton(QStringLiteral("&Entfernen"), page);
        add->setObjectName(QLatin1String(buttonNames[int(table)][0]));
        remove->setObjectName(QLatin1String(buttonNames[int(table)][1]));
        add->setToolTip(QStringLiteral("Neue Zeile (Einfg oder Strg+Plus)"));
        remove->setToolTip(QStringLiteral("Zeile entfernen (Entf oder Strg+Minus)"));
        connect(add, &QPushButton::clicked, this, [this, table] { AddEntry(table); });
        connect(remove, &QPushButton::clicked, this, [this, table] { RemoveEntry(table); });
        auto *buttons = new QVBoxLayout;
        buttons->addWidget(add);
        buttons->addWidget(remove);
        buttons->addStretch();
        auto *row = new QHBoxLayout(page);
        row->addWidget(view, 1);
        row->addLayout(buttons);
        Entries->addTab(page, QString());
    }
    // A tab's Alt key goes on into its table.
    Entries->tabBar()->installEventFilter(this);
    return Entries;
}

QLayout *TForderungForm::BuildButtons() {
    CopyButton = new QPushButton(QStringLiteral("&Kopieren"), this);
    connect(CopyButton, &QPushButton::clicked, this, [this] { CopyStatement(); });
    CsvButton = new QPushButton(QStringLiteral("Als &CSV …"), this);
    connect(CsvButton, &QPushButton::clicked, this, [this] { SaveCsv(); });
    PdfButton = new QPushButton(QStringLiteral("Als &PDF …"), this);
    connect(PdfButton, &QPushButton::clicked, this, [this] { SavePdf(); });
    PrintButton = new QPushButton(QStringLiteral("D&rucken …"), this);
    connect(PrintButton, &QPushButton::clicked, this, [this] { PrintStatement(); });
    CloseButton = new QPushButton(QStringLiteral("Schließen"), this);
    connect(CloseButton, &QPushButton::clicked, this, [this] { close(); });
    auto *row = new QHBoxLayout;
    row->addWidget(CopyButton);
    row->addWidget(CsvButton);
    row->addWidget(PdfButton);
    row->addWidget(PrintButton);
    row->addStretch();
    row->addWidget(CloseButton);
    return row;
}

QTableView *TForderungForm::EntryView(TEntryTable table) const {
    switch (table) {
    case TEntryTable::Claims:
        return Claims;
    case TEntryTable::Costs:
        return Costs;
    case TEntryTable::Payments:
        break;
    }
    return Payments;
}

TEntryModel *TForderungForm::EntryModel(TEntryTable table) const {
    return qobject_cast<TEntryModel *>(EntryView(table)->model());
}

// The rule cells, the check boxes and the day counts follow the law; the values stay.
void TForderungForm::LawChanged() {
    const TLaw law = TLaw(Law->currentData().toInt());
    for (TEntryModel *model : {FClaims, FCosts, FPayments})
        model->SetLaw(law);
    Claims->setColumnHidden(clSued, law == lwGermany);
    Claims->setColumnHidden(clBefore, law == lwSwitzerland);
    Claims->setColumnHidden(clFlatFee, law == lwSwitzerland);
    Costs->setColumnHidden(coBefore, law == lwSwitzerland);
    const QVariant count = DayCount->currentData();
    FillDayCounts(count.isValid() ? TDayCount(count.toInt()) : DefaultDayCount(law));
    const QVariant allocation = Allocation->currentData();
    FillAllocations(allocation.isValid() ? TAllocationRule(allocation.toInt())
                                         : DefaultAllocation(law));
}

void TForderungForm::FillDayCounts(TDayCount wanted) {
    const TLaw law = TLaw(Law->currentData().toInt());
    const std::pair<TDayCount, const char16_t *> counts[] = {
        {dc30360Swiss, u"30/360 (Schweizer Usanz)"},
        {dcActual365, u"taggenau (act/365)"},
        {dcActualActual, u"act/act"},
        {dcActual360, u"act/360"},
        {dc30360, u"30/360"},
    };
    const QSignalBlocker quiet(DayCount);
    DayCount->clear();
    for (const auto &[count, name] : counts)
        if (DayCountOffered(law, count)) DayCount->addItem(QString::fromUtf16(name), int(count));
    const int found = DayCount->findData(int(wanted));
    DayCount->setCurrentIndex(found >= 0 ? found : DayCount->findData(int(DefaultDayCount(law))));
}

void TForderungForm::FillAllocations(TAllocationRule wanted) {
    const TLaw law = TLaw(Law->currentData().toInt());
    const std::pair<TAllocationRule, const char16_t *> rules[] = {
        {arBgb367, u"§ 367 BGB"},
        {arBgb497, u"§ 497 Abs. 3 BGB (Verbraucherdarlehen)"},
        {arAbgb1416, u"§§ 1415, 1416 ABGB"},
        {arOr85, u"Art. 85–87 OR"},
    };
    const QSignalBlocker quiet(Allocation);
    Allocation->clear();
    for (const auto &[rule, name] : rules)
        if (AllocationOffered(law, rule)) Allocation->addItem(QString::fromUtf16(name), int(rule));
    const int found = Allocation->findData(int(wanted));
    Allocation->setCurrentIndex(found >= 0 ? found
                                           : Allocation->findData(int(DefaultAllocation(law))));
    // Where the law knows one order only, it is named, not offered.
    const bool choice = Allocation->count() > 1;
    Allocation->setVisible(choice);
    AllocationText->setVisible(!choice);
    AllocationText->setText(Allocation->currentText());
    if (QLabel *label = findChild<QLabel *>(QStringLiteral("AllocationLabel")))
        label->setBuddy(choice ? static_cast<QWidget *>(Allocation) : nullptr);
}

void TForderungForm::Changed() {
    UpdateTabTexts();
    if (!FFilling) {
        setWindowModified(true);
        UpdateTitle();
        Recalculate();
    }
}

void TForderungForm::UpdateTitle() {
    QString name = CaseName->text().trimmed();
    if (name.isEmpty())
        name = FPath.isEmpty() ? QStringLiteral("Neuer Fall") : QFileInfo(FPath).completeBaseName();
    // "[*]" is where Qt puts the unsaved mark; a name of the user's must not contain one.
    name.replace(QStringLiteral("[*]"), QStringLiteral("[ * ]"));
    setWindowTitle(name + QStringLiteral("[*] – Forderungsaufstellung"));
}

void TForderungForm::UpdateTabTexts() {
    const QString texts[] = {QStringLiteral("&Forderungen (%1)"), QStringLiteral("Ko&sten (%1)"),
                             QStringLiteral("Zahlu&ngen (%1)")};
    for (const TEntryTable table : AllTables)
        Entries->setTabText(int(table), texts[int(table)].arg(EntryModel(table)->rowCount()));
}

void TForderungForm::AddEntry(TEntryTable table) {
    QTableView *view = EntryView(table);
    Entries->setCurrentIndex(int(table));
    const QModelIndex current = view->currentIndex();
    const int row = EntryModel(table)->AddRow(current.isValid() ? current.row() + 1 : -1);
    const QModelIndex first = view->model()->index(row, 0);
    view->setFocus(Qt::OtherFocusReason);
    view->setCurrentIndex(first);
    view->edit(first);
}

void TForderungForm::RemoveEntry(TEntryTable table) {
    QTableView *view = EntryView(table);
    const QModelIndex current = view->currentIndex();
    if (!current.isValid()) return;
    const int row = current.row(), column = current.column();
    EntryModel(table)->RemoveRow(row);
    const int rows = view->model()->rowCount();
    if (rows > 0) view->setCurrentIndex(view->model()->index(std::min(row, rows - 1), column));
    view->setFocus(Qt::OtherFocusReason);
}

// Insert and Ctrl+Plus add a row below the current one, Delete and Ctrl+Minus remove it; while a
// cell is edited, its editor has the keys.
bool TForderungForm::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Entries->tabBar() && event->type() == QEvent::Shortcut) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                EntryView(TEntryTable(Entries->currentIndex()))->setFocus(Qt::ShortcutFocusReason);
            },
            Qt::QueuedConnection);
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        for (const TEntryTable table : AllTables) {
            if (watched != EntryView(table)) continue;
            const auto *key = static_cast<QKeyEvent *>(event);
            const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
            const bool ctrl = modifiers == Qt::ControlModifier;
            if ((key->key() == Qt::Key_Insert && modifiers == Qt::NoModifier) ||
                (ctrl && (key->key() == Qt::Key_Plus || key->key() == Qt::Key_Equal))) {
                AddEntry(table);
                return true;
            }
            if ((key->key() == Qt::Key_Delete && modifiers == Qt::NoModifier) ||
                (ctrl && key->key() == Qt::Key_Minus)) {
                RemoveEntry(table);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

TCaseFile TForderungForm::CaseOfInputs(TClaimsCase input) const {
    TCaseFile file = FFile;
    file.Name = CaseName->text().trimmed();
    file.Reference = Reference->text().trimmed();
    file.Creditor = Creditor->text().trimmed();
    file.Debtor = Debtor->text().trimmed();
    file.StatementDayIsToday = FStatementDayIsToday;
    file.Case = std::move(input);
    file.UnknownOfClaims.clear();
    file.UnknownOfCosts.clear();
    file.UnknownOfPayments.clear();
    for (int row = 0; row < FClaims->rowCount(); ++row)
        file.UnknownOfClaims.push_back(FClaims->Unknown(row));
    for (int row = 0; row < FCosts->rowCount(); ++row)
        file.UnknownOfCosts.push_back(FCosts->Unknown(row));
    for (int row = 0; row < FPayments->rowCount(); ++row)
        file.UnknownOfPayments.push_back(FPayments->Unknown(row));
    return file;
}

TForderungForm::TOutcome TForderungForm::Evaluate() {
    TOutcome outcome;
    TClaimsCase input;
    input.Law = TLaw(Law->currentData().toInt());
    input.DayCount = TDayCount(DayCount->currentData().toInt());
    input.Allocation = TAllocationRule(Allocation->currentData().toInt());
    const auto head = [&](const QString &reason, QWidget *field) {
        outcome.Fault.Reason = reason;
        outcome.FaultField = field;
        return outcome;
    };
    if (!StatementDay->HasDateText())
        return head(QStringLiteral("Bitte den Stichtag eingeben."), StatementDay);
    try {
        input.StatementDay = StatementDay->StrictDateValue();
    } catch (const EConvertError &error) {
        return head(error.Message(), StatementDay);
    }
    if (!ReadEntries(*FClaims, *FCosts, *FPayments, input, outcome.Fault)) return outcome;
    TClaimsReport &report = outcome.Report;
    report.File = CaseOfInputs(input);
    report.Statement = CalculateClaims(input, FRates.Table());
    report.Reach = FRates.Table().Reach();
    if (const TClaimsStatement &statement = report.Statement; statement.Error) {
        outcome.Fault = CellOfEngineError(statement);
        if (outcome.Fault.Row < 0) {
            switch (statement.ErrorField) {
            case TCaseField::StatementDay:
                outcome.FaultField = StatementDay;
                break;
            case TCaseField::DayCount:
                outcome.FaultField = DayCount;
                break;
            case TCaseField::Allocation:
                outcome.FaultField = Allocation;
                break;
            default:
                outcome.FaultField =
                    input.Claims.empty() ? static_cast<QWidget *>(Claims) : nullptr;
                break;
            }
        }
        report.Statement.Bookings.clear();
    }
    return outcome;
}

void TForderungForm::ShowOutcome(const TOutcome &outcome) {
    const bool calculated = outcome.Fault.Reason.isEmpty();
    TClaimsReport shown = outcome.Report;
    if (!calculated) shown.Statement = TClaimsStatement();
    FModel->SetReport(shown);
    Reason->setText(outcome.Fault.Reason);
    Reason->setVisible(!calculated);
    const QList<TClaimsLine> sums = calculated ? ClaimsSumLines(shown) : QList<TClaimsLine>();
    Sums->setRowCount(int(sums.size()));
    for (int i = 0; i < sums.size(); ++i) {
        auto *label = new QTableWidgetItem(sums[i].Label);
        auto *value = new QTableWidgetItem(sums[i].Value);
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont font = Sums->font();
        font.setBold(sums[i].Total);
        label->setFont(font);
        value->setFont(font);
        Sums->setItem(i, 0, label);
        Sums->setItem(i, 1, value);
    }
    Sums->setVisible(calculated);
    Sums->setFixedHeight(Sums->verticalHeader()->length() + 2);
    Rules->setText(calculated ? ClaimsRulesLines(shown).join(u'\n') : QString());
    Application->setPlainText(calculated ? ApplicationText(shown) : QString());
}

void TForderungForm::Recalculate() {
    ShowOutcome(Evaluate());
}

void TForderungForm::Refuse(const TOutcome &outcome) {
    if (outcome.FaultField) {
        outcome.FaultField->setFocus(Qt::OtherFocusReason);
        if (auto *edit = qobject_cast<QLineEdit *>(outcome.FaultField)) edit->selectAll();
    } else if (outcome.Fault.Row >= 0) {
        QTableView *view = EntryView(outcome.Fault.Table);
        Entries->setCurrentIndex(int(outcome.Fault.Table));
        view->setFocus(Qt::OtherFocusReason);
        view->setCurrentIndex(view->model()->index(outcome.Fault.Row, outcome.Fault.Column));
    }
    const TClaimsStatement &statement = outcome.Report.Statement;
    if (statement.Error.Code == ecMissingHalfYear) {
        // The base rates are kept in the default-interest window's dialog.
        Desktop().ShowMessage(Caption, outcome.Fault.Reason +
                                           QStringLiteral(" Die Basiszinssätze lassen sich im "
                                                          "Fenster Verzugszinsen ergänzen."));
        return;
    }
    Desktop().ShowMessage(Caption, outcome.Fault.Reason);
}

bool TForderungForm::Calculate() {
    const TOutcome outcome = Evaluate();
    ShowOutcome(outcome);
    if (outcome.Fault.Reason.isEmpty()) return true;
    Refuse(outcome);
    return false;
}

bool TForderungForm::ChangesSettled() {
    if (!isWindowModified()) return true;
    const QString name = CaseName->text().trimmed().isEmpty() ? QStringLiteral("Neuer Fall")
                                                              : CaseName->text().trimmed();
    switch (Desktop().Choose(
        Caption,
        QStringLiteral("Die Änderungen an „%1“ sind nicht gespeichert. Sollen sie gespeichert "
                       "werden?")
            .arg(name),
        {QStringLiteral("Speichern"), QStringLiteral("Verwerfen")})) {
    case 0:
        return SaveCase();
    case 1:
        return true;
    default:
        return false;
    }
}

void TForderungForm::Show(const TCaseFile &file, const QString &path) {
    FFilling = true;
    FFile = file;
    FPath = path;
    CaseName->setText(file.Name);
    Reference->setText(file.Reference);
    Creditor->setText(file.Creditor);
    Debtor->setText(file.Debtor);
    StatementDay->SetDateValue(file.StatementDayIsToday ? CurrentDateSerial()
                                                        : file.Case.StatementDay);
    FStatementDayIsToday = file.StatementDayIsToday;
    Law->setCurrentIndex(std::max(0, Law->findData(int(file.Case.Law))));
    FillDayCounts(file.Case.DayCount);
    FillAllocations(file.Case.Allocation);
    FClaims->Fill(file);
    FCosts->Fill(file);
    FPayments->Fill(file);
    LawChanged();
    FFilling = false;
    setWindowModified(false);
    UpdateTitle();
    UpdateTabTexts();
    Entries->setCurrentIndex(0);
    Recalculate();
}

bool TForderungForm::NewCase() {
    if (!ChangesSettled()) return false;
    TCaseFile file;
    file.Case.Law = lwGermany;
    file.Case.DayCount = DefaultDayCount(lwGermany);
    file.Case.Allocation = DefaultAllocation(lwGermany);
    Show(file, QString());
    CaseName->setFocus(Qt::OtherFocusReason);
    return true;
}

bool TForderungForm::StartWithClaim(const TDefaultInterestInput &input) {
    if (!ChangesSettled()) return false;
    TCaseFile file;
    file.Case.Law = input.Law;
    file.Case.DayCount = input.DayCount;
    file.Case.Allocation = DefaultAllocation(input.Law);
    // The statement counts its last day; where the window left out the day of payment, the
    // day before is the last that bears interest.
    file.Case.StatementDay = LastInterestDay(input);
    file.StatementDayIsToday = file.Case.StatementDay == CurrentDateSerial();
    TClaim claim;
    claim.Amount = input.Claim;
    claim.FirstDay = input.FirstDay;
    claim.Rule = input.Rule;
    claim.FlatFee = input.FlatFee;
    file.Case.Claims.push_back(claim);
    Show(file, QString());
    // A case that has not been saved yet.
    setWindowModified(true);
    CaseName->setFocus(Qt::OtherFocusReason);
    return true;
}

bool TForderungForm::OpenCase(const QString &path) {
    if (!ChangesSettled()) return false;
    QString chosen = path;
    if (chosen.isEmpty())
        chosen = Desktop().OpenFileName(QStringLiteral("Forderungsaufstellung öffnen"), Folder(),
                                        QStringLiteral("Forderungsaufstellungen (*.tarvo)"));
    if (chosen.isEmpty()) return false;
    TCaseFile file;
    if (const TEngineError error = LoadCaseFile(chosen, CurrentDateSerial(), file)) {
        Desktop().ShowMessage(Caption, ErrorText(error));
        return false;
    }
    Show(file, QFileInfo(chosen).absoluteFilePath());
    RememberFile(FPath);
    return true;
}

bool TForderungForm::WriteCase(const QString &path) {
    TClaimsCase input;
    input.Law = TLaw(Law->currentData().toInt());
    input.DayCount = TDayCount(DayCount->currentData().toInt());
    input.Allocation = TAllocationRule(Allocation->currentData().toInt());
    input.StatementDay = StatementDay->DateValue();
    TEntryFault fault;
    // A case is saved only whole: a cell that does not read would be lost in the file.
    if (!ReadEntries(*FClaims, *FCosts, *FPayments, input, fault)) {
        TOutcome outcome;
        outcome.Fault = fault;
        Refuse(outcome);
        return false;
    }
    if (input.StatementDay == EmptyDate) {
        TOutcome outcome;
        outcome.Fault.Reason = QStringLiteral("Bitte den Stichtag eingeben.");
        outcome.FaultField = StatementDay;
        Refuse(outcome);
        return false;
    }
    const TCaseFile file = CaseOfInputs(input);
    if (const TEngineError error = SaveCaseFile(path, file)) {
        Desktop().ShowMessage(Caption, ErrorText(error));
        return false;
    }
    FFile = file;
    FPath = QFileInfo(path).absoluteFilePath();
    setWindowModified(false);
    UpdateTitle();
    RememberFile(FPath);
    return true;
}

bool TForderungForm::SaveCase() {
    return FPath.isEmpty() ? SaveCaseAs() : WriteCase(FPath);
}

bool TForderungForm::SaveCaseAs() {
    const QString chosen = Desktop().SaveFileName(
        QStringLiteral("Forderungsaufstellung speichern"),
        FPath.isEmpty() ? Folder() + u'/' + SuggestedName(QStringLiteral("tarvo")) : FPath,
        QStringLiteral("Forderungsaufstellungen (*.tarvo)"));
    if (chosen.isEmpty()) return false;
    QString path = chosen;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".tarvo");
    // The dialog asked about the name it gave; the name with the suffix is another file.
    if (path != chosen && QFileInfo::exists(path) &&
        !Desktop().Ask(Caption,
                       QStringLiteral("Die Datei „%1“ gibt es schon. Soll sie ersetzt werden?")
                           .arg(NativePath(path)),
                       QStringLiteral("Ersetzen")))
        return false;
    return WriteCase(path);
}

void TForderungForm::RememberFile(const QString &path) {
    QStringList recent =
        FSettings.Value(Setting::ForderungZuletzt).split(u'\n', Qt::SkipEmptyParts);
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > MostRecentFiles)
        recent.removeLast();
    FSettings.SetValue(Setting::ForderungZuletzt, recent.join(u'\n'));
    FSettings.SetValue(Setting::ForderungOrdner, QFileInfo(path).absolutePath());
    FillRecentMenu();
    SaveSettings();
}

void TForderungForm::FillRecentMenu() {
    RecentMenu->clear();
    const QStringList recent =
        FSettings.Value(Setting::ForderungZuletzt).split(u'\n', Qt::SkipEmptyParts);
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        RecentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(NativePath(path)), this,
                              [this, path] { OpenCase(path); });
    }
    RecentMenu->setEnabled(!recent.isEmpty());
}

QString TForderungForm::Folder() const {
    const QString folder = FSettings.Value(Setting::ForderungOrdner);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

// The case's name as a file name: what a file name cannot hold becomes a dash.
QString TForderungForm::SuggestedName(const QString &suffix) const {
    QString name = CaseName->text().trimmed();
    if (!FPath.isEmpty() && name.isEmpty()) name = QFileInfo(FPath).completeBaseName();
    if (name.isEmpty()) name = QStringLiteral("Forderungsaufstellung");
    for (QChar &c : name)
        if (c == u'/' || c == u'\\' || c == u':' || c.category() == QChar::Other_Control) c = u'-';
    if (name.startsWith(u'.')) name.prepend(u'_');
    return name + u'.' + suffix;
}

QString TForderungForm::AskExportPath(const QString &kind, const QString &suffix) {
    const QString chosen =
        Desktop().SaveFileName(QStringLiteral("Forderungsaufstellung als %1 speichern").arg(kind),
                               Folder() + u'/' + SuggestedName(suffix),
                               QStringLiteral("%1-Dateien (*.%2)").arg(kind, suffix));
    if (chosen.isEmpty()) return {};
    QString path = chosen;
    if (QFileInfo(path).suffix().isEmpty()) path += u'.' + suffix;
    if (path != chosen && QFileInfo::exists(path) &&
        !Desktop().Ask(Caption,
                       QStringLiteral("Die Datei „%1“ gibt es schon. Soll sie ersetzt werden?")
                           .arg(NativePath(path)),
                       QStringLiteral("Ersetzen")))
        return {};
    return path;
}

void TForderungForm::Export(const QString &path, const QByteArray &data) {
    if (const QString error = WriteClaimsExport(path, data); !error.isEmpty()) {
        Desktop().ShowMessage(Caption, error);
        return;
    }
    FSettings.SetValue(Setting::ForderungOrdner, QFileInfo(path).absolutePath());
}

void TForderungForm::CopyStatement() {
    if (!Calculate()) return;
    Desktop().SetClipboardHtml(ClaimsText(Report()), ClaimsHtml(Report()));
}

void TForderungForm::CopyApplication() {
    if (!Calculate()) return;
    Desktop().SetClipboardText(ApplicationText(Report()));
}

void TForderungForm::SaveCsv() {
    if (!Calculate()) return;
    const QString path = AskExportPath(QStringLiteral("CSV"), QStringLiteral("csv"));
    if (!path.isEmpty()) Export(path, ClaimsCsv(Report()));
}

void TForderungForm::SavePdf() {
    if (!Calculate()) return;
    const QString path = AskExportPath(QStringLiteral("PDF"), QStringLiteral("pdf"));
    if (!path.isEmpty()) Export(path, ClaimsPdf(Report(), CurrentDateSerial()));
}

void TForderungForm::PrintStatement() {
    if (!Calculate()) return;
    PrintClaimsPages(
        this, QStringLiteral("Forderungsaufstellung drucken"),
        [this](QPagedPaintDevice &device) { PaintClaims(Report(), CurrentDateSerial(), device); },
        [this](const QString &path, const QByteArray &pdf) { Export(path, pdf); }, FChoosePrinter);
}

void TForderungForm::keyPressEvent(QKeyEvent *event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        modifiers == Qt::NoModifier) {
        Calculate();
        return;
    }
    if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForderungForm::LoadRates() {
    const TEngineError error = FRates.Load();
    FRates.OnChanged = [this] { Recalculate(); };
    FRates.Watch();
    Recalculate();
    if (error) Desktop().ShowMessage(Caption, ErrorText(error));
}

// Each opening places the window inside the screen and clear of the bar, and reads the user's
// rates afresh, after the window is up, so that a message about a broken file stands in front.
void TForderungForm::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    PlaceOnScreen();
    if (!focusWidget()) CaseName->setFocus(Qt::OtherFocusReason);
    QMetaObject::invokeMethod(
        this, [this] { LoadRates(); }, Qt::QueuedConnection);
}

void TForderungForm::closeEvent(QCloseEvent *event) {
    if (!ChangesSettled()) {
        event->ignore();
        return;
    }
    SaveSettings();
    QWidget::closeEvent(event);
}

void TForderungForm::RestoreGeometry() {
    const bool stored =
        FSettings.Stored(Setting::ForderungBreite) && FSettings.Stored(Setting::ForderungHoehe);
    if (stored)
        resize(FSettings.Value(Setting::ForderungBreite), FSettings.Value(Setting::ForderungHoehe));
    else
        resize(FirstSize);
    if (stored && FSettings.Stored(Setting::ForderungLinks)) {
        move(FSettings.Value(Setting::ForderungLinks), FSettings.Value(Setting::ForderungOben));
    } else if (QScreen *screen = QGuiApplication::primaryScreen()) {
        CentreWindow(*this, screen->availableGeometry());
    }
}

void TForderungForm::PlaceOnScreen() {
    QMargins margins(0, style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0);
    if (const QWindow *native = windowHandle(); native && !native->frameMargins().isNull())
        margins = native->frameMargins();
    const QSize frameExtra(margins.left() + margins.right(), margins.top() + margins.bottom());
    const QList<QRect> areas = AvailableScreenAreas();
    QRect frame = FitInside(QRect(pos(), size() + frameExtra), areas);
    if (FKeepClearOf && FKeepClearOf->isVisible()) {
        QRect area = frame;
        for (const QRect &candidate : areas)
            if (candidate.contains(frame)) area = candidate;
        frame = PlaceClearOf(frame, FKeepClearOf->frameGeometry(), area,
                             (LeastSize + frameExtra).boundedTo(area.size()));
    }
    move(frame.topLeft());
    resize(frame.size() - frameExtra);
}

void TForderungForm::SaveSettings() {
    FSettings.SetValue(Setting::ForderungLinks, pos().x());
    FSettings.SetValue(Setting::ForderungOben, pos().y());
    FSettings.SetValue(Setting::ForderungBreite, width());
    FSettings.SetValue(Setting::ForderungHoehe, height());
    try {
        FSettings.Save();
    } catch (const std::exception &error) {
        ReportException(error);
    }
}
