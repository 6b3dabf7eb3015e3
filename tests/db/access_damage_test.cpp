#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <thread>

#include "access_export_tool.h"
#include "access_process_check.h"
#include "db/access_backend.h"
#include "db/error.h"
#include "sqlite_fixture.h"

// Damaged copies of the sample files, as the hotel system may leave them while writing:
// each must read, or fail with planora::Error, without crashing, hanging or leaking.
namespace planora::db {
namespace {

using namespace std::chrono_literals;

enum class Outcome { Read, Error, CrashCaught, LimitCaught };

struct Sample {
    std::string file;
    int copies;
    unsigned seed;
};

// One damaged copy: the sample and the number of the copy, from which the damage follows.
struct Variant {
    const Sample* sample;
    int number;
    std::string name() const { return sample->file + " #" + std::to_string(number); }
};

std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Cut at some length, single bytes changed, runs of bytes overwritten, or part of a page cut
// out; mostly within the first pages, where the table definitions are.
std::string damaged(const std::string& original, const Variant& v) {
    std::mt19937 random(v.sample->seed * 7919u + static_cast<unsigned>(v.number));
    const bool jet3 = original.size() > 0x14 && original[0x14] == '\0';
    const std::size_t pageBytes = jet3 ? 2048 : 4096;
    const std::size_t head = std::min(original.size(), pageBytes * 8);
    auto below = [&](std::size_t range) {
        return std::uniform_int_distribution<std::size_t>(0, range - 1)(random);
    };
    std::string bytes = original;
    const std::size_t range = v.number % 3 == 0 ? original.size() : head;
    switch (v.number % 4) {
        case 0:  // written up to some point
            bytes.resize(below(original.size()));
            break;
        case 1:  // a few stray bytes
            for (int k = 0; k < 4; ++k) {
                bytes[below(range)] = static_cast<char>(random());
            }
            break;
        case 2: {  // a run of zeros or ones
            const std::size_t at = below(range);
            const std::size_t length = std::min<std::size_t>(1 + below(64), bytes.size() - at);
            std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), length,
                        v.number % 8 == 2 ? '\0' : '\xff');
            break;
        }
        default: {  // part of a page missing, the rest shifted
            const std::size_t pages = std::max<std::size_t>(2, original.size() / pageBytes);
            bytes.erase(pageBytes * (1 + below(pages - 1)), below(pageBytes));
            break;
        }
    }
    return bytes;
}

struct Result {
    Outcome outcome = Outcome::Read;
    std::string problem;  // an error message that fails to name the file, if any
};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

Outcome outcomeOf(const std::string& message) {
    if (contains(message, "(il programma di lettura si è interrotto)")) {
        return Outcome::CrashCaught;
    }
    if (contains(message, "(il programma di lettura non è andato avanti") ||
        contains(message, "(il programma di lettura ha chiesto")) {
        return Outcome::LimitCaught;
    }
    return Outcome::Error;
}

// Opens the damaged copy and reads every table; the worst outcome counts.
Result readVariant(const std::filesystem::path& file, const AccessReadLimits& limits) {
    Result result;
    auto note = [&](const Error& e) {
        result.outcome = std::max(result.outcome, outcomeOf(e.what()));
        if (!contains(e.what(), file.filename().string())) {
            result.problem = e.what();
        }
    };
    try {
        const auto backend = openAccessBackend(file, limits);
        for (const auto& name : backend->tableNames()) {
            try {
                backend->loadTable(name);
            } catch (const Error& e) {
                note(e);
            }
        }
    } catch (const Error& e) {
        note(e);
    }
    return result;
}

using AccessDamagedFiles = test::AccessSamples;

TEST_F(AccessDamagedFiles, EveryDamagedCopyReadsOrFailsCleanly) {
    // Mostly Jet 3 files, on which libmdb fails most.
    static const Sample samples[] = {
        {"jackcess/testV1997.mdb", 560, 1997},
        {"mdbtestdata/nwind.mdb", 240, 1995},
        {"jackcess/testV2000.mdb", 100, 2000},
        {"mdbtestdata/DateTestDatabase.mdb", 60, 2021},
        {"jackcess/overflowTestV2000.mdb", 60, 2001},
    };
    std::map<const Sample*, std::string> originals;
    std::vector<Variant> variants;
    for (const auto& sample : samples) {
        originals[&sample] = fileBytes(test::fixture(sample.file));
        ASSERT_FALSE(originals[&sample].empty()) << sample.file;
        for (int i = 0; i < sample.copies; ++i) {
            variants.push_back({&sample, i});
        }
    }
    ASSERT_GE(variants.size(), 1000u);

    AccessReadLimits limits;
    limits.timePerTable = 3s;
    limits.readerMemoryBytes = std::size_t{256} << 20;
    const testing::TempFolder folder;
    const int descriptorsBefore = test::openDescriptorCount();

    std::vector<Result> results(variants.size());
    auto readCopy = [&](std::size_t i) {
        const auto file = folder.path() / ("damaged" + std::to_string(i) + ".mdb");
        testing::writeBytes(file, damaged(originals.at(variants[i].sample), variants[i]));
        results[i] = readVariant(file, limits);
        std::filesystem::remove(file);
    };
    std::thread second([&] {
        for (std::size_t i = 1; i < variants.size(); i += 2) {
            readCopy(i);
        }
    });
    for (std::size_t i = 0; i < variants.size(); i += 2) {
        readCopy(i);
    }
    second.join();
    // Two readers at once, beside other test programs, run slower than one: a limit counts
    // only if the copy read alone reaches it again.
    for (std::size_t i = 0; i < variants.size(); ++i) {
        if (results[i].outcome == Outcome::LimitCaught) {
            readCopy(i);
        }
    }

    int counts[4] = {};
    std::string caught;
    for (std::size_t i = 0; i < results.size(); ++i) {
        ++counts[static_cast<int>(results[i].outcome)];
        EXPECT_EQ(results[i].problem, "") << variants[i].name() << ": the message lacks the file";
        if (results[i].outcome >= Outcome::CrashCaught) {
            caught += " " + variants[i].name();
        }
    }
    std::cout << "damaged copies: " << variants.size() << ", read fine " << counts[0] << ", error "
              << counts[1] << ", crash caught " << counts[2] << ", hang or memory caught "
              << counts[3] << "\ncaught:" << caught << "\n";
    EXPECT_EQ(test::openDescriptorCount(), descriptorsBefore) << "a descriptor stayed open";
    EXPECT_TRUE(test::noChildLeft()) << "a reader process was left behind";
    // The damage must actually reach the reader: some copies fail, some still read.
    EXPECT_GT(counts[0], 0);
    EXPECT_GT(counts[1] + counts[2] + counts[3], 0);
}

}  // namespace
}  // namespace planora::db
