#include "platform/base/services.h"

#include <QtGlobal>

namespace {
TServices *inUse = nullptr;
} // namespace

TServices &Services() {
    if (!inUse) qFatal("no services in use: the program must put its services in use first");
    return *inUse;
}

TServicesInUse::TServicesInUse(TServices &services) : FPrevious(inUse) {
    inUse = &services;
}

TServicesInUse::~TServicesInUse() {
    inUse = FPrevious;
}
