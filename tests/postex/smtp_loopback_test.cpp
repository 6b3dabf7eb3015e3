// postex as a whole, against an SMTP server on the loopback address started by the test.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "messages/postex_messages.h"
#include "tests/postex/child_process.h"
#include "tests/postex/postex_fixture.h"

namespace planora::postex {
namespace {

using testing::fileText;
using testing::writeText;

// A board page as the preview hands it over: a title line with runs of blanks, an accented
// name (Windows-1252), a line of 132 characters and a line that starts with a dot.
const std::string kHandOff =
    "OGGETTO\r\n"
    "\r\n"
    "  Hotel : Hotel Belvedere   Tableau :  Corpo   del 08/12/2026\r\n"
    "|101   |DOP   |NICCOL\xD2 CITT\xC0           |" +
    std::string(90, '-') + "|\r\n" + std::string(132, '=') + "\r\n.fine\r\n";

const std::string kSubject = "Hotel : Hotel Belvedere Tableau : Corpo del 08/12/2026";
const std::string kBody =
    "\n"
    "  Hotel : Hotel Belvedere   Tableau :  Corpo   del 08/12/2026\n"
    "|101   |DOP   |NICCOLÒ CITTÀ           |" +
    std::string(90, '-') + "|\n" + std::string(132, '=') + "\n.fine\n";

std::string crlf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return out;
}

class SmtpLoopback : public testing::PostexTest {
  protected:
    void SetUp() override {
        PostexTest::SetUp();
        writeText(data_ / "e-mail3.txt", kHandOff);
    }
};

TEST_F(SmtpLoopback, SendsSubjectBodyAttachmentToEveryRecipient) {
    startServer({"--login", "ricevimento:segreta"});
    writeConfig(
        "# posta dell'albergo\nserver = 127.0.0.1\nport = {port}\nsecurity = none\n"
        "user = ricevimento\npassword = segreta\nfrom = ricevimento@belvedere.test\n"
        "to = direzione@belvedere.test, cucina@belvedere.test\n");
    const Run run = runPostex();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "postex: " +
                           msg::mailSent(server(),
                                         "direzione@belvedere.test, "
                                         "cucina@belvedere.test") +
                           "\n");
    ASSERT_TRUE(serverEnded());
    EXPECT_EQ(received("envelope-from"), "ricevimento@belvedere.test\n");
    EXPECT_EQ(received("envelope-to"), "direzione@belvedere.test\ncucina@belvedere.test\n");
    EXPECT_EQ(received("subject"), kSubject);
    EXPECT_EQ(received("body"), crlf(kBody));
    EXPECT_EQ(received("attachment-name"), "tableau.txt");
    EXPECT_EQ(received("attachment"), crlf(kBody));
    EXPECT_EQ(received("content-types"), "multipart/mixed\ntext/plain\ntext/plain\n");
    const std::string headers = "\n" + received("headers");
    EXPECT_NE(headers.find("\nDate: "), std::string::npos) << headers;
    EXPECT_NE(headers.find("\nMessage-ID: <"), std::string::npos) << headers;
    EXPECT_NE(headers.find("@belvedere.test>"), std::string::npos) << headers;
    EXPECT_NE(headers.find("To: direzione@belvedere.test, cucina@belvedere.test"),
              std::string::npos)
        << headers;
    EXPECT_EQ(received("message.eml").find("format=flowed"), std::string::npos);
}

TEST_F(SmtpLoopback, StartTlsWithTheServersCertificateAndAPasswordFile) {
    startServer(
        {"--login", "ricevimento:dal file", "--cert", cert_.string(), "--key", key_.string()});
    writeText(data_ / "segreto.txt", "dal file\n");
    writeConfig(
        "server = 127.0.0.1\nport = {port}\nsecurity = starttls\nuser = ricevimento\n"
        "password_file = segreto.txt\nca_file = " +
        cert_.string() + "\nfrom = a@belvedere.test\nto = b@belvedere.test\n");
    const Run run = runPostex();
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(serverEnded());
    const std::string session = received("session");
    const std::size_t tls = session.find("C: STARTTLS");
    ASSERT_NE(tls, std::string::npos) << session;
    EXPECT_GT(session.find("C: AUTH"), tls) << "the password went out before TLS\n" << session;
    EXPECT_EQ(received("subject"), kSubject);
    EXPECT_EQ(received("body"), crlf(kBody));
}

TEST_F(SmtpLoopback, TlsFromTheFirstByte) {
    startServer({"--implicit-tls", "--cert", cert_.string(), "--key", key_.string()});
    writeConfig("server = 127.0.0.1\nport = {port}\nsecurity = tls\nca_file = " + cert_.string() +
                "\nfrom = a@belvedere.test\nto = b@belvedere.test\n");
    const Run run = runPostex();
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(serverEnded());
    EXPECT_EQ(received("envelope-to"), "b@belvedere.test\n");
}

TEST_F(SmtpLoopback, RefusedLoginIsReportedAndNothingIsSent) {
    startServer({"--login", "ricevimento:giusta"});
    writeConfig(
        "server = 127.0.0.1\nport = {port}\nsecurity = none\nuser = ricevimento\n"
        "password = sbagliata\nfrom = a@belvedere.test\nto = b@belvedere.test\n");
    const Run run = runPostex();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "postex: " +
                           msg::smtpLoginRefused(server(), "ricevimento",
                                                 "535 5.7.8 Authentication credentials invalid") +
                           "\n");
    EXPECT_EQ(run.err.find("sbagliata"), std::string::npos);
    ASSERT_TRUE(serverEnded());
    EXPECT_FALSE(std::filesystem::exists(received_ / "message.eml"));
}

TEST_F(SmtpLoopback, RefusedRecipientStopsTheWholeMessage) {
    startServer({"--refuse-rcpt", "nessuno@belvedere.test"});
    writeConfig(
        "server = 127.0.0.1\nport = {port}\nsecurity = none\nfrom = a@belvedere.test\n"
        "to = b@belvedere.test, nessuno@belvedere.test\n");
    const Run run = runPostex();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "postex: " +
                           msg::smtpCommandRefused(
                               server(), "RCPT TO:<nessuno@belvedere.test>",
                               "550 5.1.1 <nessuno@belvedere.test>: Recipient address rejected") +
                           "\n");
    ASSERT_TRUE(serverEnded());
    EXPECT_FALSE(std::filesystem::exists(received_ / "message.eml"));
}

TEST_F(SmtpLoopback, StartTlsThatTheServerDoesNotOfferIsNotSkipped) {
    startServer({"--login", "ricevimento:segreta"});
    writeConfig(
        "server = 127.0.0.1\nport = {port}\nuser = ricevimento\npassword = segreta\n"
        "from = a@belvedere.test\nto = b@belvedere.test\n");
    const Run run = runPostex();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "postex: " + msg::smtpNoStartTls(server()) + "\n");
    ASSERT_TRUE(serverEnded());
    EXPECT_EQ(received("session").find("C: AUTH"), std::string::npos) << received("session");
}

TEST_F(SmtpLoopback, CertificateNotTrustedIsATlsFailure) {
    startServer({"--cert", cert_.string(), "--key", key_.string()});
    writeConfig("server = 127.0.0.1\nport = {port}\nfrom = a@belvedere.test\nto = b@x.test\n");
    const Run run = runPostex();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("postex: " + msg::smtpTlsFailed(server(), ""), 0), 0u) << run.err;
    ASSERT_TRUE(serverEnded());
    EXPECT_FALSE(std::filesystem::exists(received_ / "message.eml"));
}

TEST_F(SmtpLoopback, NoServerListening) {
    startServer({});
    ASSERT_TRUE(stopServer());
    writeConfig(
        "server = 127.0.0.1\nport = {port}\nsecurity = none\nfrom = a@belvedere.test\n"
        "to = b@belvedere.test\n");
    const Run run = runPostex();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("postex: " + msg::smtpCannotConnect(server(), ""), 0), 0u) << run.err;
}

}  // namespace
}  // namespace planora::postex
