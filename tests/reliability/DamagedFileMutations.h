// Ways a database file gets damaged: bytes flipped in the header or in later
// pages, a file cut short, pages zeroed or overwritten, a file of noise, an
// empty file, garbage left after the end. Each damage is made from a sound
// file and a seed alone, so a case is made again from its seed.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace damaged_files {

enum class Damage {
    HeaderBytes,       // bytes flipped anywhere in the 100-byte header
    HeaderField,       // one field of the header set to an odd value
    SchemaPage,        // bytes flipped in the first page, after the header
    SchemaText,        // a byte of a table's or index's description changed
    LaterPages,        // bytes flipped in the pages after the first
    CutAtPage,         // cut short at a page boundary
    CutMidPage,        // cut short in the middle of a page
    ZeroedPage,        // one whole page of zeros
    NoisePage,         // one whole page of random bytes
    NoiseFile,         // nothing but random bytes, some behind a database's header
    EmptyFile,         // no bytes at all
    GarbageAfterEnd,   // the file extended with garbage
    Several,           // three of the above, one after the other
};

const std::vector<Damage>& allDamages();
QString damageName(Damage kind);

struct DamagedFile {
    Damage kind;
    std::uint64_t seed;
    QByteArray bytes;
    QString detail;  // what exactly was done, for a report
};

// The damage of this kind, chosen by the seed, done to a copy of the file.
DamagedFile damage(const QByteArray& sound, Damage kind, std::uint64_t seed);

}  // namespace damaged_files
