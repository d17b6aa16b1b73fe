#include "reliability/DamagedFileMutations.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

namespace damaged_files {

namespace {

constexpr qsizetype kHeaderSize = 100;

// SplitMix64: the same numbers from the same seed on every machine.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // A number from lo to hi, both included.
    qsizetype between(qsizetype lo, qsizetype hi)
    {
        if (hi <= lo)
            return lo;
        return lo + static_cast<qsizetype>(next() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    char byte() { return static_cast<char>(next() & 0xff); }
    char nonZeroByte() { return static_cast<char>(between(1, 255)); }
    QByteArray bytes(qsizetype n)
    {
        QByteArray out(n, '\0');
        for (qsizetype i = 0; i < n; ++i)
            out[i] = byte();
        return out;
    }

private:
    std::uint64_t state_;
};

qsizetype pageSizeOf(const QByteArray& file)
{
    const int raw = (static_cast<unsigned char>(file.at(16)) << 8) | static_cast<unsigned char>(file.at(17));
    return raw == 1 ? 65536 : raw;
}

void putBigEndian(QByteArray& file, qsizetype at, int width, std::uint64_t value)
{
    for (int i = width - 1; i >= 0; --i, value >>= 8)
        file[at + i] = static_cast<char>(value & 0xff);
}

QString flipBytes(QByteArray& file, Random& rnd, qsizetype from, qsizetype to, int most)
{
    QStringList where;
    const int n = static_cast<int>(rnd.between(1, most));
    for (int i = 0; i < n; ++i) {
        const qsizetype at = rnd.between(from, to - 1);
        file[at] = static_cast<char>(file.at(at) ^ rnd.nonZeroByte());
        where << QString::number(at);
    }
    return QStringLiteral("flipped bytes at ") + where.join(QLatin1Char(','));
}

// The header's fields (offset, width) and values that have broken readers of
// such files: zero, one, the largest, a page count beyond the end, and so on.
QString oddHeaderField(QByteArray& file, Random& rnd, qsizetype pageSize)
{
    struct Field {
        qsizetype at;
        int width;
        const char* name;
    };
    static const Field fields[] = {
        {16, 2, "page size"},          {18, 1, "write version"},     {19, 1, "read version"},
        {20, 1, "reserved bytes"},     {21, 1, "max payload"},       {22, 1, "min payload"},
        {23, 1, "leaf payload"},       {24, 4, "change counter"},    {28, 4, "page count"},
        {32, 4, "first freelist page"}, {36, 4, "freelist pages"},   {40, 4, "schema cookie"},
        {44, 4, "schema format"},      {48, 4, "cache size"},        {52, 4, "largest root page"},
        {56, 4, "text encoding"},      {60, 4, "user version"},      {64, 4, "incremental vacuum"},
        {68, 4, "application id"},     {92, 4, "version valid for"}, {96, 4, "library version"},
    };
    const Field& f = fields[rnd.between(0, static_cast<qsizetype>(std::size(fields)) - 1)];
    const std::uint64_t largest = f.width == 1 ? 0xffu : f.width == 2 ? 0xffffu : 0xffffffffu;
    const std::uint64_t pages = static_cast<std::uint64_t>(file.size() / pageSize);
    const std::uint64_t values[] = {0, 1, 2, 3, 4, largest, largest / 2, largest / 2 + 1, pages - 1, pages + 1,
                                    pages * 2, 512, 1024, 65536, rnd.next() & largest};
    const std::uint64_t v = values[rnd.between(0, static_cast<qsizetype>(std::size(values)) - 1)] & largest;
    putBigEndian(file, f.at, f.width, v);
    return QStringLiteral("%1 set to %2").arg(QLatin1String(f.name)).arg(v);
}

QString damageOnce(QByteArray& file, Damage kind, Random& rnd, qsizetype pageSize)
{
    const qsizetype pages = std::max<qsizetype>(1, file.size() / pageSize);
    switch (kind) {
    case Damage::HeaderBytes:
        return flipBytes(file, rnd, 0, std::min(kHeaderSize, file.size()), 4);
    case Damage::HeaderField:
        if (file.size() < kHeaderSize)
            return QStringLiteral("no header left");
        return oddHeaderField(file, rnd, pageSize);
    case Damage::SchemaPage:
        if (file.size() <= kHeaderSize)
            return QStringLiteral("no first page left");
        return flipBytes(file, rnd, kHeaderSize, std::min(pageSize, file.size()), 6);
    case Damage::SchemaText: {
        // The descriptions are kept as text in the file, each after the
        // names of its table and index: change one byte of a name or of the
        // text (a letter, a size, a bracket).
        std::vector<qsizetype> starts;
        for (qsizetype at = file.indexOf("CREATE "); at >= 0; at = file.indexOf("CREATE ", at + 1))
            starts.push_back(at);
        if (starts.empty())
            return QStringLiteral("no description left");
        const qsizetype start = starts[static_cast<size_t>(rnd.between(0, static_cast<qsizetype>(starts.size()) - 1))];
        const qsizetype end = file.indexOf('\0', start) < 0 ? file.size() : file.indexOf('\0', start);
        const qsizetype at = rnd.between(std::max<qsizetype>(0, start - 60), std::min(end, start + 160) - 1);
        const char was = file.at(at);
        static const char replacements[] = "aZ_ 0139()\"',;";
        file[at] = replacements[rnd.between(0, static_cast<qsizetype>(sizeof replacements) - 2)];
        return QStringLiteral("byte %1 of a description: '%2' became '%3'").arg(at).arg(QLatin1Char(was)).arg(QLatin1Char(file.at(at)));
    }
    case Damage::LaterPages:
        if (file.size() <= pageSize)
            return QStringLiteral("no later page");
        return flipBytes(file, rnd, pageSize, file.size(), 16);
    case Damage::CutAtPage: {
        const qsizetype keep = rnd.between(1, pages - 1) * pageSize;
        file.truncate(keep);
        return QStringLiteral("cut to %1 bytes").arg(keep);
    }
    case Damage::CutMidPage: {
        qsizetype keep = rnd.between(1, file.size() - 1);
        if (keep % pageSize == 0)
            keep -= 1;
        file.truncate(keep);
        return QStringLiteral("cut to %1 bytes").arg(keep);
    }
    case Damage::ZeroedPage: {
        const qsizetype page = rnd.between(0, pages - 1);
        const qsizetype n = std::min(pageSize, file.size() - page * pageSize);
        std::fill_n(file.begin() + page * pageSize, n, '\0');
        return QStringLiteral("page %1 zeroed").arg(page + 1);
    }
    case Damage::NoisePage: {
        const qsizetype page = rnd.between(0, pages - 1);
        const qsizetype n = std::min(pageSize, file.size() - page * pageSize);
        file.replace(page * pageSize, n, rnd.bytes(n));
        return QStringLiteral("page %1 overwritten with noise").arg(page + 1);
    }
    case Damage::NoiseFile: {
        const qsizetype n = rnd.between(1, 4 * pageSize + 17);
        QByteArray noise = rnd.bytes(n);
        // Half of them keep the sound header, so the reader gets past it.
        const bool keepHeader = rnd.between(0, 1) == 1 && n > kHeaderSize;
        if (keepHeader)
            noise.replace(0, kHeaderSize, file.left(kHeaderSize));
        file = noise;
        return QStringLiteral("%1 random bytes%2").arg(n).arg(keepHeader ? QStringLiteral(" behind the header")
                                                                         : QString());
    }
    case Damage::EmptyFile:
        file.clear();
        return QStringLiteral("empty");
    case Damage::GarbageAfterEnd: {
        const bool wholePages = rnd.between(0, 1) == 1;
        const qsizetype n = wholePages ? rnd.between(1, 3) * pageSize : rnd.between(1, 3 * pageSize);
        const bool zeros = rnd.between(0, 3) == 0;
        file.append(zeros ? QByteArray(n, '\0') : rnd.bytes(n));
        return QStringLiteral("%1 bytes of %2 appended").arg(n).arg(zeros ? QStringLiteral("zeros")
                                                                          : QStringLiteral("garbage"));
    }
    case Damage::Several:
        break;
    }
    return QString();
}

}  // namespace

const std::vector<Damage>& allDamages()
{
    static const std::vector<Damage> all{
        Damage::HeaderBytes, Damage::HeaderField, Damage::SchemaPage, Damage::SchemaText, Damage::LaterPages,
        Damage::CutAtPage,   Damage::CutMidPage,  Damage::ZeroedPage, Damage::NoisePage,
        Damage::NoiseFile,   Damage::EmptyFile,   Damage::GarbageAfterEnd, Damage::Several,
    };
    return all;
}

QString damageName(Damage kind)
{
    switch (kind) {
    case Damage::HeaderBytes: return QStringLiteral("header bytes flipped");
    case Damage::HeaderField: return QStringLiteral("header field odd");
    case Damage::SchemaPage: return QStringLiteral("first page flipped");
    case Damage::SchemaText: return QStringLiteral("description changed");
    case Damage::LaterPages: return QStringLiteral("later pages flipped");
    case Damage::CutAtPage: return QStringLiteral("cut at a page");
    case Damage::CutMidPage: return QStringLiteral("cut mid-page");
    case Damage::ZeroedPage: return QStringLiteral("page zeroed");
    case Damage::NoisePage: return QStringLiteral("page of noise");
    case Damage::NoiseFile: return QStringLiteral("file of noise");
    case Damage::EmptyFile: return QStringLiteral("empty file");
    case Damage::GarbageAfterEnd: return QStringLiteral("garbage appended");
    case Damage::Several: return QStringLiteral("several at once");
    }
    return QString();
}

DamagedFile damage(const QByteArray& sound, Damage kind, std::uint64_t seed)
{
    Random rnd(seed);
    const qsizetype pageSize = pageSizeOf(sound);
    DamagedFile out{kind, seed, sound, QString()};
    if (kind != Damage::Several) {
        out.detail = damageOnce(out.bytes, kind, rnd, pageSize);
        return out;
    }
    // Three damages that leave bytes behind, one after the other.
    static const Damage mixable[] = {Damage::HeaderField, Damage::SchemaPage, Damage::SchemaText, Damage::LaterPages,
                                     Damage::CutMidPage,  Damage::ZeroedPage, Damage::NoisePage,
                                     Damage::GarbageAfterEnd};
    QStringList steps;
    for (int i = 0; i < 3 && !out.bytes.isEmpty(); ++i) {
        const Damage step = mixable[rnd.between(0, static_cast<qsizetype>(std::size(mixable)) - 1)];
        steps << damageName(step) + QStringLiteral(": ") + damageOnce(out.bytes, step, rnd, pageSize);
    }
    out.detail = steps.join(QStringLiteral("; "));
    return out;
}

}  // namespace damaged_files
