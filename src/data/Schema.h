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

// The fields, by the names the tables give them.
namespace field {
inline const QString kVideoCode = QStringLiteral("Video Code");
inline const QString kTitle = QStringLiteral("Title");
inline const QString kMainCast = QStringLiteral("Main Cast");
inline const QString kSecondCast = QStringLiteral("Second Cast");
inline const QString kCategory = QStringLiteral("Category");
inline const QString kTapesIn = QStringLiteral("Tapes In");
inline const QString kTapesOut = QStringLiteral("Tapes Out");
inline const QString kMemberId = QStringLiteral("Member ID");
inline const QString kLastName = QStringLiteral("Last Name");
inline const QString kFirstName = QStringLiteral("First Name");
inline const QString kAddress = QStringLiteral("Address");
inline const QString kContact = QStringLiteral("Contact");
inline const QString kRentDate = QStringLiteral("Rent Date");
inline const QString kReturned = QStringLiteral("Returned");
inline const QString kReturnDate = QStringLiteral("Return Date");
inline const QString kDays = QStringLiteral("Days");
inline const QString kUsername = QStringLiteral("Username");
inline const QString kPassword = QStringLiteral("Password");
}  // namespace field

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
