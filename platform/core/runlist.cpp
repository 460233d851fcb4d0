#include "platform/core/runlist.h"

#include "platform/base/services.h"

#include <algorithm>

QString RunEntryName(const QString &fileName) {
    const qsizetype cut = std::max(
        {fileName.lastIndexOf(u'\\'), fileName.lastIndexOf(u':'), fileName.lastIndexOf(u'/')});
    return fileName.mid(cut + 1);
}

QString TRunList::CannotHold(TAutoExecKind, const QString &) const {
    return {};
}

TRunList &RunList() {
    return Services().RunList();
}
