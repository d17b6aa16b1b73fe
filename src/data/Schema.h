// The seven tables of the shop's database, described once: the same
// description builds a new file and judges an existing one at start-up.
#pragma once

#include "platform/Store.h"

#include <vector>

namespace schema {

inline const QString kVideo = QStringLiteral("Video Database");
inline const QString kMembers = QStringLiteral("Members Database");
inline const QString kRentals = QStringLiteral("Rentals Database");
inline const QString kReturnee = QStringLiteral("Returnee Database");
inline const QString kVideoCode = QStringLiteral("Video Code Database");
inline const QString kMemberCode = QStringLiteral("Member Code Database");
inline const QString kUsers = QStringLiteral("Users Database");

// The seven tables in creation order, which is also the order of the check.
const std::vector<store::TableDef>& Tables();

// A plain index that lets a lookup by this field find its row without
// reading the whole table. Such indexes enforce nothing.
struct LookupIndex {
    QString name;
    QString table;
    QStringList fields;
};
const std::vector<LookupIndex>& LookupIndexes();

// The attribute mask a numeric or date field of a sound file reads back:
// variable field plus updatable field.
constexpr int kNumericMask = store::dbVariableField | store::dbUpdatableField;

}  // namespace schema
