#pragma once
#include "mixture/MixtureInput.h"

#include <map>

namespace corvane {

class Database;

// What a product stores for its classification as a mixture, beside the tables of the first release:
// the content of each substance (製品含有率) and the product's own data (製品物性).
struct ProductMixture {
    std::map<int, ghs::Content> contents; // by substance number
    ghs::ProductProperties properties;    // isGas is not stored
    bool operator==(const ProductMixture &) const = default;
};

namespace catalogue {

// The product's contents and data as stored; empty for a product without any, and for a
// database made before the tables existed.
ProductMixture productMixture(Database &db, int productId);

// Inside the caller's transaction: replaces the product's contents (only those of
// `substanceNumbers`, the substances the product holds) and its data.
void writeProductMixture(Database &db, int productId, const ProductMixture &mixture,
                         const std::vector<int> &substanceNumbers);

// Inside the caller's transaction: removes the product's contents and data.
void deleteProductMixture(Database &db, int productId);

} // namespace catalogue
} // namespace corvane
