#pragma once
#include "ProductMixture.h"
#include "Records.h"
#include "mixture/MixtureInput.h"

#include <QString>

#include <map>
#include <vector>

namespace corvane {

class Database;

// What the mixture rules need of each substance of the master, read once: the editor keeps
// it while the user types, the printing run reads it for one product.
class MixtureMaster {
public:
    static MixtureMaster read(Database &db);

    // The ingredients of a product: each of its substance numbers with the content stored or
    // typed (none when not entered), in the order given. A number the master lacks is an
    // ingredient of unknown hazard named by its number.
    std::vector<ghs::Ingredient> ingredients(const std::vector<int> &substanceNumbers,
                                             const std::map<int, ghs::Content> &contents) const;

    // "2026-12-07.4" as the user reads it.
    const QString &version() const { return m_version; }
    // Where the classification of a substance comes from, one line ("NITE m-nite-…（… の一覧）").
    QString sourceOf(int substanceNumber) const;
    // The credit lines of the government's lists the master was made from.
    QStringList credits() const;

private:
    struct Substance {
        QString name, source;
        // False for a substance the user imported or one kept from a source without the
        // government's per-class classification: every class counts as unknown.
        bool classificationKnown = false;
        std::vector<ghs::ClassEntry> entries;
        std::vector<ghs::HazardClass> unclassifiable;
        std::optional<double> labelCutOff, sdsCutOff;
    };
    std::map<int, Substance> m_substances;
    QString m_version;
    QString m_newestList; // the date of the newest NITE list a row was made from
};

} // namespace corvane
