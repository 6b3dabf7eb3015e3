#include "print/raw_target.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

#include "db/error.h"
#include "db/value.h"
#include "files/no_case.h"
#include "files/safe_writer.h"
#include "messages/print_messages.h"

namespace planora::print {

namespace fs = std::filesystem;

namespace {

// The parallel port a DOS printer name stands for, if it is one.
std::optional<fs::path> parallelPort(std::string_view target) {
    std::string name = db::foldCase(target);
    if (name.ends_with(':')) {
        name.pop_back();
    }
    if (name == "prn" || name == "lpt1") {
        return fs::path("/dev/lp0");
    }
    if (name == "lpt2") {
        return fs::path("/dev/lp1");
    }
    if (name == "lpt3") {
        return fs::path("/dev/lp2");
    }
    return std::nullopt;
}

// Something that takes bytes but is neither a file nor a folder: a printer device or a pipe.
bool isDevice(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return !error && fs::exists(status) && !fs::is_regular_file(status) &&
           !fs::is_directory(status);
}

void writeDevice(const RawTarget& target, std::string_view bytes) {
    const int fd = ::open(target.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        throw Error(msg::cannotOpenTarget(target.name, target.path, errno));
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            const int error = written < 0 ? errno : EIO;
            ::close(fd);
            throw Error(msg::cannotWriteTarget(target.name, target.path, error));
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::close(fd) != 0) {
        throw Error(msg::cannotWriteTarget(target.name, target.path, errno));
    }
}

}  // namespace

RawTarget classifyRawTarget(std::string_view target, std::string_view destination,
                            const fs::path& dataFolder, const QueueLookup& isQueue) {
    if (target.empty()) {
        throw Error(msg::noTarget(destination));
    }
    const std::string name(target);
    if (isQueue(target)) {
        return {RawTarget::Kind::CupsQueue, name, {}};
    }
    if (const auto port = parallelPort(target)) {
        return {RawTarget::Kind::Port, name, *port};
    }
    const fs::path path = dataFolder / fs::path(name);
    if (isDevice(path)) {
        return {RawTarget::Kind::Device, name, path};
    }
    const fs::path folder = path.parent_path();
    return {RawTarget::Kind::File, name, files::fileNoCase(folder, path.filename().string())};
}

std::string sendRaw(const RawTarget& target, std::string_view bytes, const CupsDocument& job) {
    switch (target.kind) {
        case RawTarget::Kind::CupsQueue:
            printCupsJob(target.name, bytes, job);
            return target.name;
        case RawTarget::Kind::Port:
        case RawTarget::Kind::Device:
            writeDevice(target, bytes);
            return target.path.string();
        case RawTarget::Kind::File:
            files::writeFileSafely(target.path, bytes);
            return target.path.string();
    }
    return target.name;
}

}  // namespace planora::print
