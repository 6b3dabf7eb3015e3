#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "db/error.h"
#include "messages/postex_messages.h"
#include "postex/handoff.h"
#include "postex/mail_config.h"
#include "tests/postex/child_process.h"

namespace planora::postex {
namespace {

const std::filesystem::path kFile = "/dati/e-mail.txt";
const std::filesystem::path kConf = "/dati/postex.conf";
const std::filesystem::path kData = "/dati";

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(HandOffFile, SubjectIsTheFirstTextLineCollapsedAndBodyIsEverythingAfterOggetto) {
    const HandOff handOff = parseHandOff(
        "OGGETTO\r\n   \r\n\t Hotel :  Mare\t\tdel 01/02/2026  \r\nseconda\r\n", kFile);
    EXPECT_EQ(handOff.subject, "Hotel : Mare del 01/02/2026");
    EXPECT_EQ(handOff.body, "   \n\t Hotel :  Mare\t\tdel 01/02/2026  \nseconda\n");
}

TEST(HandOffFile, LettersAreReadAsWindows1252) {
    const HandOff handOff = parseHandOff("OGGETTO\r\nCITT\xC0 \x80 5\r\n", kFile);
    EXPECT_EQ(handOff.subject, "CITTÀ € 5");
    EXPECT_EQ(handOff.body, "CITTÀ € 5\n");
}

TEST(HandOffFile, WithoutTextTheSubjectIsEmpty) {
    const HandOff handOff = parseHandOff("OGGETTO\r\n", kFile);
    EXPECT_EQ(handOff.subject, "");
    EXPECT_EQ(handOff.body, "");
}

TEST(HandOffFile, FirstLineMustBeOggetto) {
    for (const char* bytes : {"", "Hotel\r\nOGGETTO\r\n", "oggetto\r\nx\r\n"}) {
        EXPECT_EQ(errorOf([&] { parseHandOff(bytes, kFile); }),
                  msg::handOffWithoutSubjectLine(kFile))
            << bytes;
    }
}

TEST(HandOffFile, MissingFileNamesTheStationsFile) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    EXPECT_EQ(errorOf([&] { readHandOff(folder, "zz-nessuna"); }),
              msg::handOffMissing(folder / "e-mailzz-nessuna.txt"));
}

TEST(MailSettings, EverySettingRead) {
    const MailConfig config = parseMailConfig(
        "; impostazioni\r\n# della posta\r\n\r\n  SERVER = posta.belvedere.test \r\n"
        "port=2525\nsecurity = TLS\nuser = ricevimento\npassword = a = b\n"
        "from = ricevimento@belvedere.test\nto = a@x.test,b@y.test , c@z.test\nca_file = ca.pem\n",
        kConf, kData);
    EXPECT_EQ(config.server, "posta.belvedere.test");
    EXPECT_EQ(config.port, 2525);
    EXPECT_EQ(config.security, Security::Tls);
    EXPECT_EQ(config.user, "ricevimento");
    EXPECT_EQ(config.password, "a = b");
    EXPECT_EQ(config.from, "ricevimento@belvedere.test");
    EXPECT_EQ(config.to, (std::vector<std::string>{"a@x.test", "b@y.test", "c@z.test"}));
    EXPECT_EQ(config.caFile, kData / "ca.pem");
    EXPECT_EQ(config.serverName(), "posta.belvedere.test:2525");
}

TEST(MailSettings, PortFollowsTheSecurityWhenNotGiven) {
    const std::string rest = "server = s\nfrom = a@b.c\nto = d@e.f\n";
    EXPECT_EQ(parseMailConfig(rest, kConf, kData).port, 587);
    EXPECT_EQ(parseMailConfig(rest, kConf, kData).security, Security::StartTls);
    EXPECT_EQ(parseMailConfig(rest + "security = tls\n", kConf, kData).port, 465);
    EXPECT_EQ(parseMailConfig(rest + "security = none\n", kConf, kData).port, 25);
}

TEST(MailSettings, PasswordFromTheFirstLineOfItsFile) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::filesystem::path file = folder / ("planora-postex-pw-" + std::to_string(getpid()));
    testing::writeText(file, "prima riga\r\nseconda\r\n");
    const MailConfig config =
        parseMailConfig("server = s\nuser = u\npassword_file = " + file.filename().string() +
                            "\nfrom = a@b.c\nto = d@e.f\n",
                        kConf, folder);
    std::filesystem::remove(file);
    EXPECT_EQ(config.password, "prima riga");
}

struct BadSettings {
    std::string text;
    std::string message;
};

class MailSettingsRejected : public ::testing::TestWithParam<BadSettings> {};

TEST_P(MailSettingsRejected, WithTheMessageNamingTheLineOrKey) {
    EXPECT_EQ(errorOf([] { parseMailConfig(GetParam().text, kConf, kData); }), GetParam().message);
}

const std::string kRest = "from = a@b.c\nto = d@e.f\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, MailSettingsRejected,
    ::testing::Values(
        BadSettings{"server = s\nsolo testo\n" + kRest,
                    msg::configNotKeyValue(kConf, 2, "solo testo")},
        BadSettings{"server = s\n= valore\n" + kRest, msg::configNotKeyValue(kConf, 2, "= valore")},
        BadSettings{"server = s\nporta = 25\n" + kRest, msg::configUnknownKey(kConf, 2, "porta")},
        BadSettings{"server = s\nSERVER = t\n" + kRest, msg::configRepeatedKey(kConf, 2, "server")},
        BadSettings{kRest, msg::configMissingKey(kConf, "server")},
        BadSettings{"server = s\nto = d@e.f\n", msg::configMissingKey(kConf, "from")},
        BadSettings{"server = s\nfrom = a@b.c\n", msg::configMissingKey(kConf, "to")},
        BadSettings{"server = s\nport = 70000\n" + kRest,
                    msg::configBadValue(kConf, "port", "70000", "un numero da 1 a 65535")},
        BadSettings{"server = s\nport = 0\n" + kRest,
                    msg::configBadValue(kConf, "port", "0", "un numero da 1 a 65535")},
        BadSettings{"server = s\nport = 25a\n" + kRest,
                    msg::configBadValue(kConf, "port", "25a", "un numero da 1 a 65535")},
        BadSettings{"server = s\nsecurity = ssl\n" + kRest,
                    msg::configBadValue(kConf, "security", "ssl", "starttls, tls oppure none")},
        BadSettings{
            "server = s/x\n" + kRest,
            msg::configBadValue(kConf, "server", "s/x", "un nome o un indirizzo di server")},
        BadSettings{"server = s\nfrom = a@b.c\nto = d@e.f,\n",
                    msg::configBadValue(kConf, "to", "d@e.f,",
                                        "un elenco di indirizzi come nome@dominio separati da "
                                        "virgole")},
        BadSettings{"server = s\nfrom = a@b.c\nto = <d@e.f>\n",
                    msg::configBadValue(kConf, "to", "<d@e.f>",
                                        "un elenco di indirizzi come nome@dominio separati da "
                                        "virgole")},
        BadSettings{"server = s\nfrom = a\nto = d@e.f\n",
                    msg::configBadValue(kConf, "from", "a", "un indirizzo come nome@dominio")},
        BadSettings{"server = s\npassword = p\n" + kRest, msg::configPasswordWithoutUser(kConf)},
        BadSettings{"server = s\nuser = u\n" + kRest, msg::configUserWithoutPassword(kConf)}));

}  // namespace
}  // namespace planora::postex
