#include "app/windows.h"

#include "app/bar/mrvmain.h"
#include "app/claims/verzug.h"
#include "app/forderung/forderung.h"

#include <QUrl>

void AddFurtherWindows(TForm1 &bar) {
    bar.AddWindow({QStringLiteral("verzug"),
                   QStringLiteral("&Verzugszinsen …"),
                   Qt::CTRL | Qt::SHIFT | Qt::Key_V,
                   QStringLiteral("Strg+Umschalt+V"),
                   [&bar] {
                       // It opens clear of the bar, which may be kept above it.
                       auto form = std::make_unique<TVerzugForm>();
                       form->SetKeepClearOf(&bar);
                       // The claims statement lives beside it: its claim goes on there as the
                       // first of a case with costs and payments.
                       form->SetOpenClaims([&bar](const TDefaultInterestInput &input) {
                           bar.OpenWindow(QStringLiteral("forderung"));
                           if (auto *claims = qobject_cast<TForderungForm *>(
                                   bar.Window(QStringLiteral("forderung"))))
                               claims->StartWithClaim(input);
                       });
                       return form;
                   },
                   {}});
    bar.AddWindow({QStringLiteral("forderung"), QStringLiteral("&Forderungsaufstellung …"),
                   Qt::CTRL | Qt::SHIFT | Qt::Key_F, QStringLiteral("Strg+Umschalt+F"),
                   [&bar] {
                       auto form = std::make_unique<TForderungForm>();
                       form->SetKeepClearOf(&bar);
                       return form;
                   },
                   // A case file a start names, as a file URL.
                   [](QWidget &window, const QString &argument) {
                       if (auto *form = qobject_cast<TForderungForm *>(&window))
                           form->OpenCase(QUrl(argument).toLocalFile());
                   }});
}
