#pragma once
#include "ProductMixture.h"
#include "Records.h"
#include "mixture/MixtureInput.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace corvane {

class Database;

// What the mixture rules need of the master's substances, read from the database the first
// time a substance is asked for and kept: the editor keeps it while the user types, the
// printing run reads the substances of one product.
class MixtureMaster {
public:
    MixtureMaster() = default;
    explicit MixtureMaster(Database &db) : m_db(&db) {}

    // The ingredients of a product: each of its substance numbers with the content stored or
    // typed (none when not entered), in the order given. A number the master lacks is an
    // ingredient of unknown hazard named by its number. Throws DbError.
    std::vector<ghs::Ingredient> ingredients(const std::vector<int> &substanceNumbers,
                                             const std::map<int, ghs::Content> &contents);

    // "2026-12-07.4" as the user reads it.
    QString version() const;
    // Where the classification of a substance asked for comes from, one line.
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
    void load(const std::vector<int> &substanceNumbers);

    Database *m_db = nullptr;
    std::map<int, Substance> m_substances;
    std::set<int> m_absent; // asked for, not in the master
};

} // namespace corvane
