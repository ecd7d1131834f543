#pragma once
#include <QString>

namespace corvane {

// The facts of the running program that the forms and the settings file rely on:
// its title and the folder of its executable.
class Application {
public:
    static QString title();
    static QString folder();
    // The release, as the build and the package name it (--version).
    static QString version();

    // Tests run the forms against a temporary folder instead of the build folder.
    static void setFolder(const QString &folder);
};

} // namespace corvane
