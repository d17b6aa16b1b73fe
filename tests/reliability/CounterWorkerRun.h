// The test side of the counter worker: starting one on a shop's folder,
// reading what it reports, killing it, and judging the file it leaves: the
// engine's integrity check, the shop's rules for stock and rentals, and that
// every operation the worker reported as committed is on file.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace reliability {

// Long runs (the "long" ctest label) set QUORVANE_LONG_RUN=1.
bool longRun();

// A seed for the random choices of a run, printed so that a failure can be
// looked into; QUORVANE_SEED chooses it.
unsigned runSeed();

// What a new shop starts with: titles each with their tapes in the shop and
// none out, and members.
struct ShopSetup {
    int titles = 3;
    int tapesPerTitle = 2;
    int members = 6;
};
// Puts the titles and members on the open database, with the program's own
// record sets. A watch on the titles refuses any write that would take a
// stock below 0, so that such a write reaches the clerk as an error.
void stockShop(const ShopSetup& setup);
// Creates the database in the test's folder and stocks it, then closes it
// (and forgets the program's state), so that only the workers have it open.
void seedShop(const ShopSetup& setup);
std::map<QString, long long> stockAtStart(const ShopSetup& setup);
QString codeOf(int title);   // "V1", ...
QString memberOf(int member);  // "M1", ...

struct ReportedRent {
    std::int64_t rental = 0;
    QString code, member;
};
struct ReportedReturn {
    std::int64_t rental = 0, returnee = 0;
    QString code, member;
};

// One worker process.
class CounterWorker {
public:
    CounterWorker(const QString& folder, unsigned seed, long long operations);
    ~CounterWorker();
    CounterWorker(const CounterWorker&) = delete;
    CounterWorker& operator=(const CounterWorker&) = delete;

    // Takes in what the worker has written, waiting for more up to waitMs.
    // False once the worker has ended and everything it wrote has been read.
    bool poll(int waitMs = 50);
    // Polls until the worker has ended.
    void waitUntilEnded();
    // Ends the worker at once with SIGKILL and reads what it wrote before.
    void kill();

    bool ready() const { return ready_; }
    bool ended() const { return ended_; }
    bool finished() const { return finished_; }  // wrote its closing line
    int exitCode() const { return exitCode_; }
    bool crashed() const { return crashed_; }    // died of a signal it was not sent

    const std::vector<ReportedRent>& rents() const { return rents_; }
    const std::vector<ReportedReturn>& returns() const { return returns_; }
    long long committed() const { return static_cast<long long>(rents_.size() + returns_.size()); }
    long long refused() const { return refused_; }
    long long failed() const { return failed_; }
    // The longest a check and its operation took, as the worker measured it
    // (known once it has finished).
    long long slowestMs() const { return slowestMs_; }
    // The messages a clerk would have seen, and those of them that begin
    // with "Error :".
    const QString& shown() const { return stderr_; }
    QStringList errorMessages() const;

private:
    void takeLines();

    std::unique_ptr<QProcess> process_;
    QByteArray pending_;
    QString stderr_;
    bool ready_ = false, ended_ = false, finished_ = false, killed_ = false, crashed_ = false;
    int exitCode_ = -1;
    std::vector<ReportedRent> rents_;
    std::vector<ReportedReturn> returns_;
    long long refused_ = 0, failed_ = 0, slowestMs_ = 0;
};

// The shop's tables as a file holds them, read by a connection of the test's
// own (which puts back a file left with a hot journal, as any start does).
struct ShopFile {
    QString integrity;  // "ok" for a sound file
    struct Title {
        long long in = 0, out = 0;
    };
    std::map<QString, Title> titles;  // by video code
    struct Rental {
        QString member, code, returned;
    };
    std::map<std::int64_t, Rental> rentals;  // by rowid
    struct Return {
        QString member, code;
    };
    std::map<std::int64_t, Return> returns;  // by rowid
};
ShopFile readShop(const QString& path);

// What breaks the shop's rules, one line each; none for a sound shop. For
// every title Tapes In + Tapes Out is what it started with, neither is below
// 0, and Tapes Out is its number of open rentals; for every member and title
// there are as many returnee rows as closed rentals.
QStringList ruleBreaches(const ShopFile& shop, const std::map<QString, long long>& stockAtStart);

// Keeps the tally of what the workers reported as committed and checks each
// state of the file against it.
class Ledger {
public:
    void add(const CounterWorker& worker);
    // What is missing or wrong in the file; at most `inFlight` operations
    // that were not reported (the one a killed worker was in the middle of)
    // may be on file besides. The file as it stands becomes the base of the
    // next check.
    QStringList check(const ShopFile& shop, int inFlight);

    long long rents() const { return static_cast<long long>(rents_.size()); }
    long long returns() const { return static_cast<long long>(returns_.size()); }
    long long unreportedFound() const { return unreported_; }

private:
    std::vector<ReportedRent> rents_;
    std::vector<ReportedReturn> returns_;
    size_t rentsChecked_ = 0, returnsChecked_ = 0;
    size_t rentalRows_ = 0, returneeRows_ = 0;
    long long unreported_ = 0;
};

}  // namespace reliability
