#include "engine/baserateupdate.h"

#include "platform/base/download.h"
#include "platform/base/files.h"

#include <QObject>
#include <QTimer>

namespace {

TEngineError Failure(const QString &url, const QString &reason) {
    return TEngineError(ecFile, TErrorText::UpdateFailed, {url, reason});
}

} // namespace

TBaseRateUpdate::TBaseRateUpdate(TBaseRateStore &store) : FStore(store) {
    FUrl = qEnvironmentVariable(UpdateUrlVariable);
    if (FUrl.isEmpty()) FUrl = QString::fromLatin1(BundesbankDownloadUrl);
}

TBaseRateUpdate::~TBaseRateUpdate() = default;

void TBaseRateUpdate::Start() {
    Cancel();
    FRunning = true;
    TDownloadRequest request;
    request.Url = FUrl;
    request.UserAgent = QStringLiteral("Tarvo");
    request.TimeoutMs = TimeoutMs;
    request.Limit = FileReadLimit;
    request.ExtraCaFile = qEnvironmentVariable(UpdateCaVariable);
    QString reason;
    FDownload = StartDownload(
        request,
        [this](const TDownloadResult &result) {
            if (!result) return Finish(Failure(FUrl, result.Error), {});
            std::vector<TRateChange> changes;
            const TEngineError error = FStore.TakeAnswer(result.Data, FUrl, changes);
            Finish(error, changes);
        },
        reason);
    if (FDownload) return;
    FPending = std::make_unique<QObject>();
    QTimer::singleShot(0, FPending.get(), [this, reason] { Finish(Failure(FUrl, reason), {}); });
}

void TBaseRateUpdate::Cancel() {
    FRunning = false;
    FPending.reset();
    FDownload.reset();
}

void TBaseRateUpdate::Finish(const TEngineError &error, const std::vector<TRateChange> &changes) {
    FRunning = false;
    if (OnDone) OnDone(error, changes);
}
