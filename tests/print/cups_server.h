#pragma once

// A private CUPS server for the tests: cupsd started by the test itself with its own
// configuration in a temporary folder, listening on a free loopback port, and a backend of the
// tests' own that copies each job to the file its device names ("planoratest:/path") or fails
// like a printer out of paper ("planoratest:fail"). libcups, lpadmin and Qt find it through
// CUPS_SERVER. No systemd and no system queue is touched.

#include <cups/cups.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "print_fixture.h"

namespace planora::print::testing {

class PrivateCups {
  public:
    // A running server, or nothing with the reason in whyNot.
    static std::unique_ptr<PrivateCups> start(std::string& whyNot) {
        if (!std::filesystem::exists(kCupsd)) {
            whyNot = "cupsd is not installed (Debian package cups-daemon)";
            return nullptr;
        }
        if (::geteuid() != 0) {
            whyNot = "a private cupsd needs root to run its backends";
            return nullptr;
        }
        std::unique_ptr<PrivateCups> cups(new PrivateCups());
        if (!cups->launch(whyNot)) {
            return nullptr;
        }
        return cups;
    }

    ~PrivateCups() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        ::unsetenv("CUPS_SERVER");
        cupsSetServer(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    const std::filesystem::path& folder() const { return root_; }

    // A raw queue whose device is the tests' backend; true when lpadmin made it.
    bool addQueue(const std::string& name, const std::string& device,
                  const std::string& more = "") const {
        return run("lpadmin -p '" + name + "' -v '" + device + "' -E " + more);
    }

    // A command of cups-client against this server; true on success.
    bool run(const std::string& command) const {
        return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
    }

    // The jobs not yet finished, as lpstat lists them.
    std::string pendingJobs() const {
        const std::filesystem::path list = root_ / "pending.txt";
        std::system(("lpstat -o > '" + list.string() + "' 2>/dev/null").c_str());
        std::ifstream in(list);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

  private:
    static constexpr const char* kCupsd = "/usr/sbin/cupsd";

    PrivateCups() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "planora-cups-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            root_ = pattern;
        }
    }

    static int freePort() {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        int port = 0;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port = ntohs(address.sin_port);
        }
        ::close(fd);
        return port;
    }

    static bool answers(int port) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return ok;
    }

    void write(const std::filesystem::path& file, const std::string& text) const {
        std::ofstream(file) << text;
    }

    void configure(int port) const {
        namespace fs = std::filesystem;
        for (const char* sub : {"conf", "spool/temp", "cache", "state", "log", "bin/backend"}) {
            fs::create_directories(root_ / sub);
        }
        fs::create_symlink("/usr/lib/cups/daemon", root_ / "bin/daemon");
        fs::create_symlink("/usr/lib/cups/filter", root_ / "bin/filter");
        const fs::path backend = root_ / "bin/backend/planoratest";
        write(backend,
              "#!/bin/sh\n"
              "if [ $# -eq 0 ]; then echo 'direct planoratest \"Unknown\" \"Planora test\"'; "
              "exit 0; fi\n"
              "out=\"${DEVICE_URI#planoratest:}\"\n"
              "if [ \"$out\" = fail ]; then echo 'ERROR: carta esaurita' >&2; exit 1; fi\n"
              "echo \"$5\" > \"$out.options\"\n"
              "if [ $# -ge 6 ]; then cat \"$6\" > \"$out\"; else cat > \"$out\"; fi\n");
        // Owner only: cupsd runs such a backend as root, so it may write the tests' folder.
        fs::permissions(backend, fs::perms::owner_all);
        const std::string r = root_.string();
        write(root_ / "conf/cupsd.conf",
              "Listen 127.0.0.1:" + std::to_string(port) +
                  "\nBrowsing Off\nWebInterface No\nLogLevel info\n"
                  "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n"
                  "<Location />\nOrder allow,deny\nAllow all\n</Location>\n");
        write(root_ / "conf/cups-files.conf",
              "ServerRoot " + r + "/conf\nServerBin " + r + "/bin\nStateDir " + r +
                  "/state\nCacheDir " + r + "/cache\nRequestRoot " + r + "/spool\nTempDir " + r +
                  "/spool/temp\nAccessLog " + r + "/log/access_log\nErrorLog " + r +
                  "/log/error_log\nPageLog " + r + "/log/page_log\nPrintcap " + r + "/printcap\n");
    }

    bool launch(std::string& whyNot) {
        const int port = freePort();
        if (root_.empty() || port == 0) {
            whyNot = "no temporary folder or loopback port for cupsd";
            return false;
        }
        configure(port);
        const std::string conf = (root_ / "conf/cupsd.conf").string();
        const std::string files = (root_ / "conf/cups-files.conf").string();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execl(kCupsd, "cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr);
            ::_exit(127);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (!answers(port)) {
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_ ||
                std::chrono::steady_clock::now() > deadline) {
                ::kill(pid_, SIGTERM);
                ::waitpid(pid_, nullptr, 0);
                pid_ = -1;
                whyNot = "cupsd did not start; see its log in " + (root_ / "log").string();
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        const std::string server = "127.0.0.1:" + std::to_string(port);
        ::setenv("CUPS_SERVER", server.c_str(), 1);
        cupsSetServer(server.c_str());
        return true;
    }

    std::filesystem::path root_;
    pid_t pid_ = -1;
};

// A print folder with a private CUPS server of its own; the test is skipped, saying why, where
// no server can run.
class CupsFolderTest : public PrintFolderTest {
  protected:
    void SetUp() override {
        PrintFolderTest::SetUp();
        std::string whyNot;
        cups_ = PrivateCups::start(whyNot);
        if (!cups_) {
            GTEST_SKIP() << "no private CUPS server: " << whyNot;
        }
    }

    std::unique_ptr<PrivateCups> cups_;
};

}  // namespace planora::print::testing
