#include "platform/gui/application.h"

#include "platform/base/exceptions.h"
#include "platform/base/formatsettings.h"
#include "platform/core/desktop.h"
#include "platform/core/stoprequest.h"
#include "platform/gui/caretrest.h"

#include <QEvent>
#include <QLoggingCategory>
#include <QSessionManager>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

// Off unless enabled (QT_LOGGING_RULES="platform.window.debug=true"): lets a test of the whole
// program see from outside which windows a process shows.
Q_LOGGING_CATEGORY(lcWindow, "platform.window", QtInfoMsg)

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {
    new TCaretRest(this);
    // A logout asks for the data first and then ends the loop. A logout can still be
    // cancelled after asking, so only the asking itself and an end of the loop after it
    // are unattended.
    connect(this, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) {
        FSessionEnding = true;
        emit Ending(TEnding::SessionSaves);
    });
    connect(this, &QCoreApplication::aboutToQuit, this, [this] {
        FLoopEnded = true;
        emit Ending(TEnding::LoopEnds);
    });
    // After an orderly end the application object is gone by then, and nothing is raised.
    static const bool atExit = std::atexit([] {
                                   if (TApplication *app = Instance()) {
                                       app->FExiting = true;
                                       emit app->Ending(TEnding::ProcessExits);
                                   }
                               }) == 0;
    Q_UNUSED(atExit);
}

TApplication::~TApplication() = default;

TApplication *TApplication::Instance() {
    return qobject_cast<TApplication *>(qApp);
}

// Only the program's own name: as Qt's display name it would be appended to every window's
// caption ("Tarvo 2.3 Freeware — Tarvo 2.0").
void TApplication::SetTitle(const QString &value) {
    FTitle = value;
}

void TApplication::Terminate() {
    FTerminated = true;
    QMetaObject::invokeMethod(this, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool TApplication::Terminated() const {
    return FTerminated || StopRequests() > 0;
}

bool TApplication::EndUnattended() const {
    return StopRequests() > 0 || isSavingSession() || (FSessionEnding && FLoopEnded) || FExiting;
}

void TApplication::ReportError(const std::exception &error) {
    const auto *known = dynamic_cast<const Exception *>(&error);
    const QString text = known ? known->Message() : QString::fromUtf8(error.what());
    std::fprintf(stderr, "%s: %s\n", FTitle.toLocal8Bit().constData(),
                 text.toLocal8Bit().constData());
    if (!EndUnattended()) Desktop().ShowError(FTitle, text);
}

bool TApplication::notify(QObject *receiver, QEvent *event) {
    if (event->type() == QEvent::LocaleChange && receiver == this) RefreshFormatSettings();
    if (event->type() == QEvent::Show && lcWindow().isDebugEnabled()) {
        if (auto *widget = qobject_cast<QWidget *>(receiver); widget && widget->isWindow())
            qCDebug(lcWindow, "window shown: %s", widget->metaObject()->className());
    }
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ReportError(error);
        return true;
    }
}
