#include "data/Schema.h"

namespace schema {

using store::dbDate;
using store::dbInteger;
using store::dbLong;
using store::dbText;
using store::dbVariableField;
using store::FieldDef;
using store::IndexDef;
using store::TableDef;

namespace {

FieldDef text(const char* name, int size) { return FieldDef{QString::fromLatin1(name), dbText, size, 0}; }
FieldDef number(const char* name, int type) { return FieldDef{QString::fromLatin1(name), type, 0, dbVariableField}; }

}  // namespace

const std::vector<TableDef>& Tables()
{
    static const std::vector<TableDef> tables = {
        {kVideo,
         {text("Video Code", 30), text("Title", 30), text("Main Cast", 30), text("Second Cast", 30),
          text("Category", 30), number("Tapes In", dbLong), number("Tapes Out", dbLong)},
         {IndexDef{QStringLiteral("VideoCodeIDX"), {QStringLiteral("Video Code")}, true}}},
        {kMembers,
         {text("Member ID", 30), text("Last Name", 30), text("First Name", 30), text("Address", 50),
          text("Contact", 30)},
         {IndexDef{QStringLiteral("MemberIDX"), {QStringLiteral("Member ID")}, true}}},
        {kRentals,
         {text("Member ID", 30), text("Video Code", 30), number("Rent Date", dbDate), text("Returned", 3)},
         {}},
        {kReturnee,
         {text("Member ID", 30), text("Video Code", 30), number("Return Date", dbDate),
          number("Days", dbInteger)},
         {}},
        {kVideoCode, {text("Video Code", 30), text("Title", 30)}, {}},
        {kMemberCode, {text("Member ID", 30), text("Member Name", 62)}, {}},
        {kUsers, {text("Username", 30), text("Password", 30)}, {}},
    };
    return tables;
}

const std::vector<LookupIndex>& LookupIndexes()
{
    static const std::vector<LookupIndex> lookups = {
        // The code registry looks every saved code up.
        {QStringLiteral("VideoCodeRegistryLKP"), kVideoCode, {QStringLiteral("Video Code")}},
        {QStringLiteral("MemberCodeRegistryLKP"), kMemberCode, {QStringLiteral("Member ID")}},
        // The editors open on the first row whose searched field holds a value.
        {QStringLiteral("VideoTitleLKP"), kVideo, {QStringLiteral("Title")}},
        {QStringLiteral("VideoMainCastLKP"), kVideo, {QStringLiteral("Main Cast")}},
        {QStringLiteral("VideoSecondCastLKP"), kVideo, {QStringLiteral("Second Cast")}},
        {QStringLiteral("VideoCategoryLKP"), kVideo, {QStringLiteral("Category")}},
        {QStringLiteral("MemberLastNameLKP"), kMembers, {QStringLiteral("Last Name")}},
        {QStringLiteral("MemberFirstNameLKP"), kMembers, {QStringLiteral("First Name")}},
        {QStringLiteral("MemberAddressLKP"), kMembers, {QStringLiteral("Address")}},
        {QStringLiteral("MemberContactLKP"), kMembers, {QStringLiteral("Contact")}},
        // The return check finds a member's open rental of a title.
        {QStringLiteral("RentalsOpenLKP"), kRentals,
         {QStringLiteral("Video Code"), QStringLiteral("Member ID"), QStringLiteral("Returned")}},
    };
    return lookups;
}

}  // namespace schema
