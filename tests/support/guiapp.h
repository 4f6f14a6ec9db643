// GoogleTest suites that touch QtGui objects (actions, images, fonts) need one
// QGuiApplication; call this before the first such object. Uses the offscreen platform.
#pragma once

#include <QGuiApplication>

inline void ensureGuiApplication() {
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rendolo-test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}
