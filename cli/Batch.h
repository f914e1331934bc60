// The --csv batch shared by the calculating commands: rows are read, computed
// on every core and written in their input order as the file streams by, so
// a batch of any length runs in the same small memory.
#pragma once

#include "cli/Commands.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <span>
#include <type_traits>

// What one row gives: its result columns (full precision), or none when the
// calculation failed; error holds refusals, failures and warnings.
struct BatchOutcome {
    QStringList results;
    QString error;
};

// Computes rows one after another on one thread; each worker owns its own
// library objects. inputs holds the row's text for every input column (empty
// where the row or the header has none).
class BatchWorker
{
public:
    virtual ~BatchWorker() = default;
    virtual BatchOutcome compute(const QStringList& inputs) = 0;

    // The same without a QString, for a row of ASCII text without quotes
    // (inputs trimmed, empty where the row or the header has none): appends
    // to line the row's output line, "\n" included, byte for byte what the
    // batch writes for compute()'s outcome, and returns true; or returns
    // false having appended nothing, and the row goes to compute(). Only
    // called for commands that echo no inputs.
    virtual bool appendPlainRow(std::span<const QByteArrayView> inputs, QByteArray& line)
    {
        Q_UNUSED(inputs);
        Q_UNUSED(line);
        return false;
    }
};

struct BatchCommand {
    QStringList inputColumns;  // the names a header may use, lower case
    QStringList outputColumns; // the output's columns before "error"
    // Outputs that echo the row's inputs: for every output column, the input
    // column it repeats (-1 for a result column). Empty: all are results.
    QList<int> echoedInputs;
    std::function<std::unique_ptr<BatchWorker>()> makeWorker;
};

// Runs the batch over the CSV file at path ("-" for standard input) on
// threads workers (0: BatchThreadCount()). A file that cannot be read, or a
// header with no known column, ends the batch before any row; a failing row
// only fills its error column. The output does not depend on threads.
int RunCsvBatch(const QString& path, const BatchCommand& command, int threads, CliIo& io);

// Workers used by a batch: the machine's cores.
int BatchThreadCount();

// The batch of `state --csv` at the local pressure text (checked by the
// caller), each worker keeping the results of up to cacheRows rows (0: none;
// the output is the same either way).
BatchCommand StateCsvBatch(const QString& pressure, size_t cacheRows);

// Results a worker keeps for rows it has computed, so that a row repeated in
// the file (hourly weather, sensor logs at a fixed resolution) costs a look-up.
// The key is the exact bits of everything the result depends on, so a hit
// gives what computing would give, byte for byte: -0.0 and 0.0, or two NaNs
// of different payloads, are different keys. The table has a fixed number of
// entries, kWays to a set chosen by a hash of the key, the least recently
// used one giving way; its memory is the same whatever the file's length.
// Value must be trivially copyable; the table is allocated zeroed, so its
// pages are only touched as rows arrive.
template <class Value, size_t KeyWords> class BatchCache
{
public:
    using Key = std::array<std::uint64_t, KeyWords>;
    // Sixteen ways: a million rows over 43,000 keys in 65,536 entries miss
    // about 51,000 times, 43,000 of them first sightings (eight ways: 70,000,
    // four: 114,000). A set's tags and ages are two cache lines, looked at
    // before any key.
    static constexpr size_t kWays = 16;

    // entries is rounded down to a power of two of at least kWays; below
    // kWays there is no cache: find() never hits and insert() keeps nothing.
    explicit BatchCache(size_t entries)
    {
        if (entries < kWays)
            return;
        sets_ = std::bit_floor(entries / kWays);
        tags_.reset(static_cast<Set*>(std::calloc(sets_, sizeof(Set))));
        slots_.reset(static_cast<Slot*>(std::calloc(sets_ * kWays, sizeof(Slot))));
        if (!tags_ || !slots_)
            sets_ = 0;
    }

    const Value* find(const Key& key)
    {
        if (sets_ == 0)
            return nullptr;
        const std::uint64_t h = hash(key);
        Set& set = tags_.get()[h & (sets_ - 1)];
        Slot* entries = slots_.get() + (h & (sets_ - 1)) * kWays;
        const std::uint32_t tag = tagOf(h);
        for (size_t w = 0; w < kWays; ++w) {
            if (set.tags[w] == tag && sameKey(entries[w].key, key)) {
                set.ages[w] = ++clock_;
                return &entries[w].value;
            }
        }
        return nullptr;
    }

    // Stores value under a key that find() did not find.
    void insert(const Key& key, const Value& value)
    {
        if (sets_ == 0)
            return;
        const std::uint64_t h = hash(key);
        Set& set = tags_.get()[h & (sets_ - 1)];
        size_t oldest = 0;
        for (size_t w = 0; w < kWays; ++w) {
            if (set.tags[w] == 0) {
                oldest = w;
                break;
            }
            // The clock wraps after 2^32 rows: only the choice of which entry
            // gives way suffers, never a result.
            if (set.ages[w] < set.ages[oldest])
                oldest = w;
        }
        set.tags[oldest] = tagOf(h);
        set.ages[oldest] = ++clock_;
        Slot& slot = slots_.get()[(h & (sets_ - 1)) * kWays + oldest];
        slot.key = key;
        slot.value = value;
    }

private:
    static_assert(std::is_trivially_copyable_v<Value>);
    struct Set {
        std::uint32_t tags[kWays]; // 0: empty; else the hash's high half, never 0
        std::uint32_t ages[kWays]; // when the entry was last used
    };
    struct Slot {
        Key key;
        Value value;
    };
    struct Free {
        void operator()(void* p) const { std::free(p); }
    };

    static std::uint64_t hash(const Key& key)
    {
        // A multiplicative mix of every word: rounded inputs differ in few
        // low mantissa bits, which must still spread over all sets.
        std::uint64_t h = 0;
        for (const std::uint64_t word : key)
            h = (h ^ word) * 0x9E3779B97F4A7C15u, h ^= h >> 29;
        return h;
    }
    static bool sameKey(const Key& a, const Key& b)
    {
        std::uint64_t differ = 0;
        for (size_t k = 0; k < KeyWords; ++k)
            differ |= a[k] ^ b[k];
        return differ == 0;
    }
    static std::uint32_t tagOf(std::uint64_t h) { return static_cast<std::uint32_t>(h >> 32) | 1; }

    std::unique_ptr<Set, Free> tags_;
    std::unique_ptr<Slot, Free> slots_;
    size_t sets_ = 0;
    std::uint32_t clock_ = 0;
};
