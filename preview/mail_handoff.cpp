#include "preview/mail_handoff.h"

#include "board/encoding.h"
#include "db/error.h"
#include "files/no_case.h"
#include "files/safe_writer.h"
#include "messages/preview_messages.h"
#include "preview/process.h"
#include "preview/screen_text.h"

namespace planora::preview {

std::string handOffFileName(std::string_view stationCode) {
    return "e-mail" + std::string(stationCode) + ".txt";
}

std::string handOffContent(std::string_view screenText) {
    std::vector<std::string> lines = splitScreenLines(screenText);
    for (std::string& line : lines) {
        line = board::utf8ToCp1252(line);
    }
    return std::string(kSubjectMarker) + "\r\n" + joinLines(lines, "\r\n", true);
}

std::filesystem::path writeHandOff(const std::filesystem::path& dataFolder,
                                   std::string_view stationCode, std::string_view screenText) {
    const std::filesystem::path file = files::fileNoCase(dataFolder, handOffFileName(stationCode));
    files::writeFileSafely(file, handOffContent(screenText));
    return file;
}

std::filesystem::path findMailProgram() {
    const std::filesystem::path beside = programFolder() / kMailProgram;
    std::error_code ignored;
    if (std::filesystem::is_regular_file(beside, ignored)) {
        return beside;
    }
    if (auto onPath = findOnPath(kMailProgram)) {
        return *onPath;
    }
    throw Error(msg::mailProgramNotFound(kMailProgram, programFolder()));
}

void startMailProgram(const std::filesystem::path& dataFolder) {
    const std::filesystem::path program = findMailProgram();
    startDetached(program, {std::string(kMailProgram)}, dataFolder);
}

std::filesystem::path InviaEMail(const std::filesystem::path& dataFolder,
                                 std::string_view stationCode, std::string_view screenText,
                                 const MailLauncher& launcher) {
    std::filesystem::path file = writeHandOff(dataFolder, stationCode, screenText);
    if (launcher) {
        launcher(dataFolder);
    } else {
        startMailProgram(dataFolder);
    }
    return file;
}

}  // namespace planora::preview
