#pragma once

namespace corvane {

// ProductItemEntry holds a product's substance numbers twelve to a row (BlockNo, ItemID1 …
// ItemID12); the list of all target substances is stored the same way under product -1.
constexpr int kSlotsPerEntry = 12;

} // namespace corvane
