#include "reliability/CounterWorkerRun.h"

#include "data/Schema.h"
#include "data/modQuorvane.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <QCoreApplication>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <iostream>
#include <random>
#include <set>

namespace reliability {

namespace {

QString workerProgram()
{
#ifdef QV_COUNTER_WORKER
    const QString built = QStringLiteral(QV_COUNTER_WORKER);
    if (QFileInfo::exists(built))
        return built;
#endif
    return QCoreApplication::applicationDirPath() + QStringLiteral("/quorvane_counter_worker");
}

QString text(SQLite::Statement& q, int column)
{
    const SQLite::Column c = q.getColumn(column);
    return c.isNull() ? QString() : QString::fromStdString(c.getString());
}

}  // namespace

bool longRun() { return qEnvironmentVariable("QUORVANE_LONG_RUN") == QLatin1String("1"); }

unsigned runSeed()
{
    bool ok = false;
    unsigned seed = qEnvironmentVariable("QUORVANE_SEED").toUInt(&ok);
    if (!ok)
        seed = std::random_device{}();
    std::cout << "[ seed     ] QUORVANE_SEED=" << seed << std::endl;
    return seed;
}

QString codeOf(int title) { return QStringLiteral("V%1").arg(title); }
QString memberOf(int member) { return QStringLiteral("M%1").arg(member); }

void seedShop(const ShopSetup& setup)
{
    ASSERT_TRUE(modQuorvane::CreateNewDatabase());
    modQuorvane::OpenMainDatabase();
    stockShop(setup);
    modQuorvane::ResetProcessState();
}

void stockShop(const ShopSetup& setup)
{
    auto& video = *modQuorvane::rsVideo;
    for (int t = 1; t <= setup.titles; ++t) {
        video.AddNew();
        video.SetValue(QStringLiteral("Video Code"), codeOf(t));
        video.SetValue(QStringLiteral("Title"), QStringLiteral("Title %1").arg(t));
        video.SetValue(QStringLiteral("Main Cast"), QStringLiteral("Main %1").arg(t));
        video.SetValue(QStringLiteral("Second Cast"), QStringLiteral("Second %1").arg(t));
        video.SetValue(QStringLiteral("Category"), QStringLiteral("Drama"));
        video.SetValue(QStringLiteral("Tapes In"), qlonglong(setup.tapesPerTitle));
        video.SetValue(QStringLiteral("Tapes Out"), qlonglong(0));
        video.Update();
    }
    auto& members = *modQuorvane::rsMembers;
    for (int m = 1; m <= setup.members; ++m) {
        members.AddNew();
        members.SetValue(QStringLiteral("Member ID"), memberOf(m));
        members.SetValue(QStringLiteral("Last Name"), QStringLiteral("Cruz"));
        members.SetValue(QStringLiteral("First Name"), QStringLiteral("First %1").arg(m));
        members.SetValue(QStringLiteral("Address"), QStringLiteral("Street %1").arg(m));
        members.SetValue(QStringLiteral("Contact"), QStringLiteral("555-%1").arg(m));
        members.Update();
    }
    SQLite::Database raw(modQuorvane::DbPath.toStdString(), SQLite::OPEN_READWRITE, 5000);
    raw.exec("CREATE TRIGGER \"stock watch\" BEFORE UPDATE ON \"Video Database\" "
             "WHEN NEW.\"Tapes In\" < 0 OR NEW.\"Tapes Out\" < 0 "
             "BEGIN SELECT RAISE(ABORT, 'Stock below 0'); END");
}

std::map<QString, long long> stockAtStart(const ShopSetup& setup)
{
    std::map<QString, long long> out;
    for (int t = 1; t <= setup.titles; ++t)
        out[codeOf(t)] = setup.tapesPerTitle;
    return out;
}

// ---------------------------------------------------------------------------
// CounterWorker

CounterWorker::CounterWorker(const QString& folder, unsigned seed, long long operations)
    : process_(std::make_unique<QProcess>())
{
    process_->setProgram(workerProgram());
    process_->setArguments({folder, QString::number(seed), QString::number(operations)});
    process_->start();
    if (!process_->waitForStarted(-1)) {
        ADD_FAILURE() << "the counter worker did not start: " << workerProgram().toStdString() << ": "
                      << process_->errorString().toStdString();
        ended_ = true;
    }
}

CounterWorker::~CounterWorker()
{
    if (!ended_)
        kill();
}

void CounterWorker::takeLines()
{
    pending_ += process_->readAllStandardOutput();
    stderr_ += QString::fromUtf8(process_->readAllStandardError());
    qsizetype end;
    // Only whole lines: each was written in one piece after its commit.
    while ((end = pending_.indexOf('\n')) >= 0) {
        const QStringList words = QString::fromUtf8(pending_.left(end)).split(QLatin1Char(' '));
        pending_.remove(0, end + 1);
        const QString& kind = words[0];
        if (kind == QLatin1String("ready")) {
            ready_ = true;
        } else if (kind == QLatin1String("rent") && words.size() == 4) {
            rents_.push_back({words[1].toLongLong(), words[2], words[3]});
        } else if (kind == QLatin1String("return") && words.size() == 5) {
            returns_.push_back({words[1].toLongLong(), words[2].toLongLong(), words[3], words[4]});
        } else if (kind == QLatin1String("refused")) {
            ++refused_;
        } else if (kind == QLatin1String("failed")) {
            ++failed_;
        } else if (kind == QLatin1String("finished") && words.size() == 6) {
            finished_ = true;
            slowestMs_ = words[5].toLongLong();
        } else {
            ADD_FAILURE() << "the counter worker wrote an unknown line: " << words.join(' ').toStdString();
        }
    }
}

bool CounterWorker::poll(int waitMs)
{
    if (ended_)
        return false;
    if (process_->state() != QProcess::NotRunning)
        process_->waitForReadyRead(waitMs);
    takeLines();
    if (process_->state() == QProcess::NotRunning) {
        process_->waitForFinished(-1);
        takeLines();
        ended_ = true;
        exitCode_ = process_->exitCode();
        crashed_ = process_->exitStatus() == QProcess::CrashExit && !killed_;
    }
    return !ended_;
}

void CounterWorker::waitUntilEnded()
{
    while (poll(200)) {
    }
}

void CounterWorker::kill()
{
    if (ended_)
        return;
    killed_ = true;
    process_->kill();  // SIGKILL
    process_->waitForFinished(-1);
    waitUntilEnded();
}

QStringList CounterWorker::errorMessages() const
{
    QStringList out;
    for (const QString& line : stderr_.split(QLatin1Char('\n')))
        if (line.contains(QLatin1String("]: Error :")))
            out << line;
    return out;
}

// ---------------------------------------------------------------------------
// The file

ShopFile readShop(const QString& path)
{
    ShopFile shop;
    SQLite::Database raw(path.toStdString(), SQLite::OPEN_READWRITE, 5000);
    {
        SQLite::Statement q(raw, "PRAGMA integrity_check");
        QStringList problems;
        while (q.executeStep())
            problems << text(q, 0);
        shop.integrity = problems.join(QLatin1Char('\n'));
    }
    if (shop.integrity != QLatin1String("ok"))
        return shop;
    SQLite::Statement titles(raw, "SELECT \"Video Code\", \"Tapes In\", \"Tapes Out\" FROM \"Video Database\"");
    while (titles.executeStep())
        shop.titles[text(titles, 0)] = {titles.getColumn(1).getInt64(), titles.getColumn(2).getInt64()};
    SQLite::Statement rentals(raw, "SELECT rowid, \"Member ID\", \"Video Code\", \"Returned\" FROM \"Rentals Database\"");
    while (rentals.executeStep())
        shop.rentals[rentals.getColumn(0).getInt64()] = {text(rentals, 1), text(rentals, 2), text(rentals, 3)};
    SQLite::Statement returns(raw, "SELECT rowid, \"Member ID\", \"Video Code\" FROM \"Returnee Database\"");
    while (returns.executeStep())
        shop.returns[returns.getColumn(0).getInt64()] = {text(returns, 1), text(returns, 2)};
    return shop;
}

QStringList ruleBreaches(const ShopFile& shop, const std::map<QString, long long>& stockAtStart)
{
    QStringList out;
    if (shop.integrity != QLatin1String("ok"))
        return {QStringLiteral("integrity check: ") + shop.integrity};
    std::map<QString, long long> open;
    std::map<std::pair<QString, QString>, long long> closed, returned;
    for (const auto& [rowid, r] : shop.rentals) {
        if (r.returned == QLatin1String("No"))
            ++open[r.code];
        else if (r.returned == QLatin1String("Yes"))
            ++closed[{r.member, r.code}];
        else
            out << QStringLiteral("rental %1 is neither open nor closed: '%2'").arg(rowid).arg(r.returned);
    }
    for (const auto& [rowid, r] : shop.returns)
        ++returned[{r.member, r.code}];
    for (const auto& [code, start] : stockAtStart) {
        const auto it = shop.titles.find(code);
        if (it == shop.titles.end()) {
            out << QStringLiteral("title %1 is gone").arg(code);
            continue;
        }
        const ShopFile::Title& t = it->second;
        if (t.in + t.out != start)
            out << QStringLiteral("title %1: %2 in + %3 out, not %4").arg(code).arg(t.in).arg(t.out).arg(start);
        if (t.in < 0 || t.out < 0)
            out << QStringLiteral("title %1: stock below 0 (%2 in, %3 out)").arg(code).arg(t.in).arg(t.out);
        if (t.out != open[code])
            out << QStringLiteral("title %1: %2 out but %3 open rentals").arg(code).arg(t.out).arg(open[code]);
    }
    std::set<std::pair<QString, QString>> pairs;
    for (const auto& [pair, n] : closed)
        pairs.insert(pair);
    for (const auto& [pair, n] : returned)
        pairs.insert(pair);
    for (const auto& pair : pairs)
        if (closed[pair] != returned[pair])
            out << QStringLiteral("member %1, title %2: %3 closed rentals but %4 returnee rows")
                       .arg(pair.first, pair.second)
                       .arg(closed[pair])
                       .arg(returned[pair]);
    return out;
}

// ---------------------------------------------------------------------------
// Ledger

void Ledger::add(const CounterWorker& worker)
{
    rents_.insert(rents_.end(), worker.rents().begin(), worker.rents().end());
    returns_.insert(returns_.end(), worker.returns().begin(), worker.returns().end());
}

QStringList Ledger::check(const ShopFile& shop, int inFlight)
{
    QStringList out;
    for (const ReportedRent& r : rents_) {
        const auto it = shop.rentals.find(r.rental);
        if (it == shop.rentals.end() || it->second.code != r.code || it->second.member != r.member)
            out << QStringLiteral("the rent of %1 to %2 (rental %3) is lost").arg(r.code, r.member).arg(r.rental);
    }
    for (const ReportedReturn& r : returns_) {
        const auto rental = shop.rentals.find(r.rental);
        const auto back = shop.returns.find(r.returnee);
        if (rental == shop.rentals.end() || rental->second.returned != QLatin1String("Yes") ||
            back == shop.returns.end() || back->second.code != r.code || back->second.member != r.member)
            out << QStringLiteral("the return of %1 by %2 (rental %3, returnee %4) is lost")
                       .arg(r.code, r.member)
                       .arg(r.rental)
                       .arg(r.returnee);
    }
    // Rows are only ever added: what the file has beyond the last check is
    // what was reported since, and at most `inFlight` more.
    const long long newRents = static_cast<long long>(rents_.size() - rentsChecked_);
    const long long newReturns = static_cast<long long>(returns_.size() - returnsChecked_);
    const long long extraRentals = static_cast<long long>(shop.rentals.size()) - static_cast<long long>(rentalRows_) - newRents;
    const long long extraReturns = static_cast<long long>(shop.returns.size()) - static_cast<long long>(returneeRows_) - newReturns;
    if (extraRentals < 0 || extraReturns < 0 || extraRentals + extraReturns > inFlight)
        out << QStringLiteral("since the last check %1 rents and %2 returns were reported, but the file has %3 "
                              "rentals and %4 returnee rows more (at most %5 unreported allowed)")
                   .arg(newRents)
                   .arg(newReturns)
                   .arg(static_cast<long long>(shop.rentals.size() - rentalRows_))
                   .arg(static_cast<long long>(shop.returns.size() - returneeRows_))
                   .arg(inFlight);
    else
        unreported_ += extraRentals + extraReturns;
    rentsChecked_ = rents_.size();
    returnsChecked_ = returns_.size();
    rentalRows_ = shop.rentals.size();
    returneeRows_ = shop.returns.size();
    return out;
}

}  // namespace reliability
