#include "db/access_readers.h"

#include <unistd.h>

#include <utility>

#include "db/access_reader_program.h"
#include "db/one_processor.h"
#include "messages/db_messages.h"

namespace planora::db {

namespace {

// Readers kept waiting at most: one per thread reading at once, which is one in a board run.
constexpr std::size_t maxIdleReaders = 2;

}  // namespace

AccessReaders::AccessReaders(AccessReadLimits limits) : limits_(std::move(limits)) {
    if (!limits_.readerProgram.empty()) {
        program_ = limits_.readerProgram;
        return;
    }
    auto lookup = access::findReaderProgram(access::ReaderSearch::ofThisProcess());
    program_ = std::move(lookup.program);
    searched_ = std::move(lookup.searched);
}

AccessReaders::~AccessReaders() = default;

access::IsolatedRun AccessReaders::read(const std::filesystem::path& file,
                                        const access::ReadRequest& request) {
    if (!program_) {
        return {{},
                access::Fault::CannotStart,
                msg::readerMissing(access::kReaderProgramName, searched_)};
    }
    const access::ReaderInvocation invocation{::getpid(), file, request, true};
    std::vector<std::string> arguments = access::readerArguments(invocation);
    access::IsolatedRun run;
    const OneProcessor processor;  // a reader started here starts on it
    std::unique_ptr<access::ServingReader> reader = takeIdle();
    if (reader) {
        processor.bring(reader->pid());
        run = reader->serve(arguments);
    } else {
        reader = access::ServingReader::start({*program_, std::move(arguments)}, limits_, run);
        const std::lock_guard lock(mutex_);
        ++started_;
    }
    if (reader) {
        giveBack(std::move(reader), run);
    }
    return run;
}

std::size_t AccessReaders::programsStarted() const {
    const std::lock_guard lock(mutex_);
    return started_;
}

std::unique_ptr<access::ServingReader> AccessReaders::takeIdle() {
    const std::lock_guard lock(mutex_);
    if (idle_.empty()) {
        return nullptr;
    }
    auto reader = std::move(idle_.back());
    idle_.pop_back();
    return reader;
}

// libmdb may leave memory or state behind on a damaged file: a reader that met one, or that
// has grown, does not serve again.
void AccessReaders::giveBack(std::unique_ptr<access::ServingReader> reader,
                             const access::IsolatedRun& run) {
    const bool sound = run.fault == access::Fault::None && !run.result.fileFailure &&
                       run.result.failedTables.empty() && reader->alive() &&
                       reader->residentBytes() <= limits_.readerMemoryBytes / 4;
    const std::lock_guard lock(mutex_);
    if (sound && idle_.size() < maxIdleReaders) {
        idle_.push_back(std::move(reader));
    }
}

}  // namespace planora::db
