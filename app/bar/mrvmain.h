#pragma once
// The calculator bar: the program's main window. It takes an amount, a period and a rate,
// shows the interest days and the interest, owns the program's settings, its autostart
// entry and its single-instance guard, and opens the two dialogs and the further windows
// the program gives it.

#include "controls/image.h"
#include "controls/imgbtn.h"
#include "controls/label.h"
#include "editors/dateedit.h"
#include "editors/numedit.h"
#include "platform/base/exceptions.h"
#include "platform/core/component.h"
#include "settings/autorun.h"
#include "settings/oneinstance.h"
#include "settings/regvalues.h"
#include "settings/storedsettings.h"

#include <QKeySequence>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QMenu;

// A further window the bar opens: by the name a start asks for it with, from the bar's menu and
// by its keys anywhere in the bar.
struct TBarWindow {
    QString Name;      // "verzug"
    QString MenuEntry; // "&Verzugszinsen …"
    QKeySequence Keys;
    QString SpokenKeys; // "Strg+Umschalt+V": told to a screen reader and shown in the menu
    // Makes the window, the first time it is asked for.
    std::function<std::unique_ptr<QWidget>()> Make;
    // Hands the window what a start asked of it besides ("verzug" alone asks nothing; "forderung
    // file:///…" names a case file); unset where the window takes nothing.
    std::function<void(QWidget &, const QString &)> Take;
};

class TForm2;
class TForm3;

class TForm1 : public QWidget, public TComponent {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The layout's components, in declaration order.
    TImage *Image1 = nullptr;
    TLabel *Label1 = nullptr;
    TImgBtn *btn_ber = nullptr;
    TImgBtn *btn_end = nullptr;
    TImgBtn *btn_ein = nullptr;
    TImgBtn *ImgBtn1 = nullptr;
    TLabel *Label2 = nullptr;
    std::unique_ptr<TAutoRun> autrun;
    std::unique_ptr<TRegValues> regval; // the program's settings, saved when the window goes
    TLabel *Label3 = nullptr;
    TLabel *Label4 = nullptr;
    TLabel *Label5 = nullptr;
    TLabel *Label6 = nullptr;
    TLabel *Label7 = nullptr;
    TDateEdit *DateEdit1 = nullptr;
    TDateEdit *DateEdit2 = nullptr;
    TLabel *Label8 = nullptr;
    TCurrencyEdit *sedit1 = nullptr;
    TCurrencyEdit *sedit2 = nullptr;
    std::unique_ptr<TOneInstance> OneInstance1;

    // The interest formula: 1 EURO, 2 deutsche, 3 englische; any other gives 0 days and 0.
    int FormulaCode = 0;

    // The program's settings, typed, in the store's memory.
    TStoredSettings Settings() const { return TStoredSettings(*regval); }

    // Keeps the bar above ordinary windows, or stops doing so, where it stands.
    void SetStayOnTop(bool value);

    // Gives the bar a further window to open; its menu lists them in this order, first.
    void AddWindow(TBarWindow window);
    // Opens a further window by name, made the first time it is asked for, and hands it what
    // follows the name after a blank; false for a name the bar was not given. A later start
    // with --verzug or a case file asks the running copy for it through this.
    bool OpenWindow(const QString &request);
    // The further window of that name once it has been opened, else nullptr.
    QWidget *Window(const QString &name) const;
    // The info and settings dialogs, made when first asked for.
    TForm2 &InfoForm();
    TForm3 &SettingsForm();
    // The bar's own menu (Verzugszinsen, Einstellungen, Info, Beenden), opened at a point of
    // the screen; it deletes itself once closed.
    QMenu *ShowBarMenu(QPoint at);
    // The same below the focused field, on its first entry, as the Menu key and Shift+F10 open
    // it.
    QMenu *ShowBarMenuByKey();

    void btn_berClick(TObject *Sender);
    void btn_einClick(TObject *Sender);
    void ImgBtn1Click(TObject *Sender);
    void btn_endClick(TObject *Sender);
    // A field turns white when it is entered and back to its colour when it is left.
    void sedit1Enter(TObject *Sender) { FieldEntered(Sender); }
    void DateEdit1Enter(TObject *Sender) { FieldEntered(Sender); }
    void DateEdit2Enter(TObject *Sender) { FieldEntered(Sender); }
    void sedit2Enter(TObject *Sender) { FieldEntered(Sender); }
    void sedit1Exit(TObject *Sender) { FieldLeft(Sender); }
    void DateEdit1Exit(TObject *Sender) { FieldLeft(Sender); }
    void DateEdit2Exit(TObject *Sender) { FieldLeft(Sender); }
    // Also calculates.
    void sedit2Exit(TObject *Sender);
    // Serves all four fields: Enter and Down move on to the next one.
    void DateEdit1KeyDown(TObject *Sender, TKeyCode &Key, TShiftState Shift);

protected:
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void LayOutWindow();
    void LayOutPicturesAndButtons();
    void LayOutSettings();
    void LayOutLabelsAndFields();
    void ConnectFields();
    void LayOutInstanceGuard();
    void FieldEntered(TObject *Sender);
    void FieldLeft(TObject *Sender);
    void FormCreate();
    // Runs the load of one stored value; one that cannot be read keeps its default, and the
    // first such error is kept for the report.
    void LoadSetting(TRegValue &value, const std::function<void()> &load);
    void PlaceAtStoredPosition();
    std::optional<TDateTime> CalculationDate(TDateEdit *field);
    void SaveSettingsNow();
    // Closes the further windows that are open; false when one of them stays.
    bool CloseFurtherWindows();

    // The first stored value that could not be read; reported once per start.
    std::optional<ERegistryException> FSettingsError;
    bool FCalculating = false;
    std::vector<TBarWindow> FWindowKinds;
    std::map<QString, std::unique_ptr<QWidget>> FWindows;
    std::unique_ptr<TForm2> FInfoForm;
    std::unique_ptr<TForm3> FSettingsForm;
};

extern TForm1 *Form1;
