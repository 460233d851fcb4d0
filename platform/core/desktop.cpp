#include "platform/core/desktop.h"

#include "platform/base/services.h"

TDesktop &Desktop() {
    return Services().Desktop();
}
