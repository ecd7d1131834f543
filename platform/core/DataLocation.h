#pragma once
#include "Outcome.h"

#include <QString>

namespace corvane {

// Where the program finds its files. Two ways to run, one rule:
// - From a build folder: a Data folder sits beside the executable and holds everything
//   (Data.mde, the report files, the pictograms); the settings file corvane.ini, which every
//   program reads, sits beside it too.
// - Installed: the read-only files live in <prefix>/share/corvane (prefix = the executable's
//   folder/..), the user's Data.mde in $XDG_DATA_HOME/corvane/Data (made from the installed
//   template on first start) and the settings in $XDG_CONFIG_HOME/corvane/corvane.ini.
// A Data folder given on the command line (--data DIR) replaces the folder of Data.mde in
// either way; from a build folder it then serves the report files and pictograms too.

// What the decision looks at, gathered from the file system and the environment.
struct DataFacts {
    QString executableFolder;
    QString dataOption;        // the absolute --data folder; empty when not given
    bool dataBesideExecutable; // executableFolder/Data is a folder
    bool shareFolderExists;    // executableFolder/../share/corvane is a folder
    QString home;
    QString xdgDataHome; // as set; empty or relative means unset
    QString xdgConfigHome;
};

struct DataLocation {
    enum class Mode { BuildFolder, Installed };
    Mode mode = Mode::BuildFolder;
    QString dataFolder;     // the folder of the user's Data.mde
    QString database;       // dataFolder/Data.mde
    QString resourceFolder; // the report files and pictograms ("Data\…" references)
    QString templateFile;   // the empty database copied to `database` when missing; empty: never
    QString settingsFile;

    bool operator==(const DataLocation &) const = default;
};

// The rule itself: a Data folder beside the executable means a build folder; otherwise an
// installed share folder means an installed program; with neither, the build folder's paths
// (so the missing Data.mde is reported where it was expected).
DataLocation decideDataLocation(const DataFacts &facts);

// The facts of this run: the application's folder, the given --data folder (made absolute)
// and the environment.
DataFacts currentDataFacts(const QString &dataOption);

// The --data folder of this run, for every later locateData(); empty: none given.
void setDataOption(const QString &folder);

// decideDataLocation(currentDataFacts(the --data folder)).
DataLocation locateData();

// Makes the user's folders of an installed program and, when the user has no Data.mde yet,
// copies the template there (under a temporary name, renamed when complete, so an existing
// file is never overwritten and a half copy never seen). Nothing to do from a build folder.
// The failure says what could not be made (Japanese).
Outcome prepareUserData(const DataLocation &location);

} // namespace corvane
