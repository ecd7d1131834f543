#pragma once
#include <QString>

namespace corvane {

// The facts of the running program that the forms and the settings file rely on:
// its title, the folder of its executable and the executable's base name.
class Application {
public:
    static QString title();
    static QString folder();
    static QString exeName();

    // Tests run the forms against a temporary folder instead of the build folder.
    static void setFolder(const QString &folder);
    static void setExeName(const QString &name);
};

} // namespace corvane
