#include "app/windows.h"

#include "app/bar/mrvmain.h"
#include "app/claims/verzug.h"

void AddFurtherWindows(TForm1 &bar) {
    bar.AddWindow({QStringLiteral("verzug"), QStringLiteral("&Verzugszinsen …"),
                   Qt::CTRL | Qt::SHIFT | Qt::Key_V, QStringLiteral("Strg+Umschalt+V"), [&bar] {
                       // It opens clear of the bar, which may be kept above it.
                       auto form = std::make_unique<TVerzugForm>();
                       form->SetKeepClearOf(&bar);
                       return form;
                   }});
}
