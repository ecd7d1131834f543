#pragma once
#include <QString>
#include <QStringList>

// What each hazard statement demands of a label: its signal word and pictograms.
namespace corvane::mastersource {

// The signal word a statement calls for. `Either` marks statements shared by
// a 危険 and a 警告 category (e.g. H228 for flammable solids 1 and 2), so the
// code alone cannot tell which word is right.
enum class Signal { None, Warning, Danger, Either };

// Why a statement asks for the exclamation mark; the precedence rules drop it
// for some reasons and keep it for others.
enum class Ghs07Reason { None, AcuteToxicity, Irritation, SkinSensitisation, Other };

struct HazardRule {
    int code;
    Signal signal;
    int pictogram; // 1..9 for GHS01..GHS09; 0 when no pictogram goes with it
    Ghs07Reason ghs07 = Ghs07Reason::None;
    int secondPictogram = 0; // H241 (type B) calls for both GHS01 and GHS02
};

// The statements whose signal word depends on the category, and which
// categories call for 危険 and which for 警告.
struct HazardCategories {
    QString code;
    QStringList danger;
    QStringList warning;
};

// The rule of a hazard statement's three-digit number, or null for a number without one.
const HazardRule *hazardRule(int code);

// The categories of a statement whose signal word depends on the category, or null.
const HazardCategories *categoriesOf(const QString &code);

// The codes of those statements, comma-separated: "H228,H242,H261,H272".
QString categoryCodes();

// "GHS01" … "GHS09".
QString pictogramName(int number);

} // namespace corvane::mastersource
