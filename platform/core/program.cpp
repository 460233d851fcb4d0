#include "platform/core/program.h"

#include <QCoreApplication>

TProgram *TProgram::Instance() {
    return dynamic_cast<TProgram *>(QCoreApplication::instance());
}

QString TProgram::ExeName() {
    return QCoreApplication::applicationFilePath();
}
