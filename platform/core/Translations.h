#pragma once

namespace corvane {

// Every program speaks Japanese in Qt's own texts too: Qt's translation (qt6-translations-l10n)
// and, over it, ours for the texts it leaves in English (the print dialog's duplex and page
// range settings and its "Advanced" tab, the help option of --help). Needs the application
// object; install before any QCommandLineParser is filled, since it translates as options are
// added.
void useJapaneseTranslations();

} // namespace corvane
