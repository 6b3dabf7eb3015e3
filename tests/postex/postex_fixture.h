#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/postex/child_process.h"

namespace planora::testing {

inline constexpr const char* kPython = "/usr/bin/python3";

// A data folder for postex (station code 3), a throwaway certificate made with openssl for the
// suite, and the SMTP test server of smtp_server.py.
class PostexTest : public ::testing::Test {
  protected:
    struct Run {
        int status = -1;
        std::string out;
        std::string err;
    };

    static void SetUpTestSuite() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "planora-postex-cert-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        certFolder_ = pattern;
        cert_ = certFolder_ / "cert.pem";
        key_ = certFolder_ / "key.pem";
        Child openssl({"/usr/bin/openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt",
                       "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", key_.string(), "-out",
                       cert_.string(), "-days", "2", "-subj", "/CN=127.0.0.1", "-addext",
                       "subjectAltName=IP:127.0.0.1"},
                      certFolder_, environmentWith({}), certFolder_ / "openssl.out",
                      certFolder_ / "openssl.err");
        ASSERT_TRUE(openssl.started()) << "openssl is missing";
        ASSERT_EQ(openssl.wait(), 0) << fileText(certFolder_ / "openssl.err");
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        std::filesystem::remove_all(certFolder_, ignored);
    }

    void SetUp() override {
        if (!std::filesystem::exists(kPython)) {
            GTEST_SKIP() << kPython << " is missing: the SMTP test server needs it";
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "planora-postex-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        data_ = folder_ / "dati";
        received_ = folder_ / "ricevuto";
        std::filesystem::create_directories(data_);
        std::filesystem::create_directories(received_);
    }
    void TearDown() override {
        server_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    void startServer(std::vector<std::string> options) {
        std::vector<std::string> argv = {
            kPython,       PLANORA_SOURCE_DIR "/tests/postex/smtp_server.py",
            "--port-file", (folder_ / "port").string(),
            "--out",       received_.string()};
        argv.insert(argv.end(), options.begin(), options.end());
        server_ = std::make_unique<Child>(argv, folder_, environmentWith({}),
                                          folder_ / "server.out", folder_ / "server.err");
        ASSERT_TRUE(server_->started());
        ASSERT_TRUE(waitForFile(folder_ / "port")) << fileText(folder_ / "server.err");
        port_ = fileText(folder_ / "port");
    }
    // Waits for the server to end after its client left; false when it failed or hung.
    bool serverEnded() {
        const auto status = server_->wait(std::chrono::seconds(30));
        EXPECT_EQ(status, 0) << fileText(folder_ / "server.err");
        return status == 0;
    }
    bool stopServer() {
        server_.reset();
        return true;
    }

    // postex.conf with "{port}" standing for the server's port.
    void writeConfig(std::string text) {
        const std::string mark = "{port}";
        for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark)) {
            text.replace(at, mark.size(), port_);
        }
        writeText(data_ / "postex.conf", text);
    }

    std::string server() const { return "127.0.0.1:" + port_; }
    std::string received(const std::string& name) const { return fileText(received_ / name); }

    // postex run in the data folder, without a display, with PATH as given.
    Run runPostex(std::vector<std::string> args = {}, std::optional<std::string> path = {}) {
        std::vector<std::string> argv = {PLANORA_BUILD_DIR "/app/postex"};
        argv.insert(argv.end(), args.begin(), args.end());
        std::map<std::string, std::optional<std::string>> env = {
            {"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}, {"PCLocal", "3"}};
        if (path) {
            env["PATH"] = *path;
        }
        Child postex(argv, data_, environmentWith(env), folder_ / "postex.out",
                     folder_ / "postex.err");
        EXPECT_TRUE(postex.started());
        Run run;
        run.status = postex.wait().value_or(-1);
        run.out = fileText(folder_ / "postex.out");
        run.err = fileText(folder_ / "postex.err");
        return run;
    }

    std::filesystem::path folder_;
    std::filesystem::path data_;
    std::filesystem::path received_;
    std::string port_;
    std::unique_ptr<Child> server_;

    static inline std::filesystem::path certFolder_;
    static inline std::filesystem::path cert_;
    static inline std::filesystem::path key_;
};

}  // namespace planora::testing
