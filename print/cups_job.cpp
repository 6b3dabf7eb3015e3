#include "print/cups_job.h"

#include <cups/cups.h>

#include <memory>
#include <thread>

#include "db/error.h"
#include "messages/print_messages.h"

namespace planora::print {

namespace {

using Clock = std::chrono::steady_clock;

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppResponse = std::unique_ptr<ipp_t, IppDeleter>;

// What a job looks like from outside while it runs.
struct JobView {
    int state = IPP_JSTATE_PENDING;
    std::string reason;  // the printer's message about the job, else the state reasons
    bool printerStopped = false;
};

// Why CUPS refused the last request, in Italian where the status is a common one; CUPS's own
// text follows.
std::string lastReason() {
    const std::string detail = cupsLastErrorString();
    switch (cupsLastError()) {
        case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
            return "non accetta stampe (" + detail + ")";
        case IPP_STATUS_ERROR_NOT_FOUND:
            return "non esiste (" + detail + ")";
        case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        case IPP_STATUS_ERROR_INTERNAL:
            return "il servizio di stampa CUPS non risponde (" + detail + ")";
        default:
            return detail;
    }
}

std::string printerUri(std::string_view queue) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/printers/%s", std::string(queue).c_str());
    return uri;
}

IppResponse request(ipp_op_t operation, std::string_view queue, int job,
                    std::vector<const char*> wanted) {
    ipp_t* ipp = ippNewRequest(operation);
    ippAddString(ipp, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printerUri(queue).c_str());
    if (job > 0) {
        ippAddInteger(ipp, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job);
    }
    ippAddString(ipp, IPP_TAG_OPERATION, IPP_TAG_NAME, "requested-user-name", nullptr, cupsUser());
    ippAddStrings(ipp, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(wanted.size()), nullptr, wanted.data());
    return IppResponse(cupsDoRequest(CUPS_HTTP_DEFAULT, ipp, "/"));
}

std::string text(ipp_t* response, const char* name) {
    ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO);
    const char* value = attribute == nullptr ? nullptr : ippGetString(attribute, 0, nullptr);
    return value == nullptr ? std::string() : std::string(value);
}

int enumValue(ipp_t* response, const char* name, int fallback) {
    ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ENUM);
    return attribute == nullptr ? fallback : ippGetInteger(attribute, 0);
}

// The state reasons other than "none", joined.
std::string reasons(ipp_t* response, const char* name) {
    ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_KEYWORD);
    std::string joined;
    for (int i = 0; attribute != nullptr && i < ippGetCount(attribute); ++i) {
        const std::string reason = ippGetString(attribute, i, nullptr);
        if (reason != "none") {
            joined += (joined.empty() ? "" : ", ") + reason;
        }
    }
    return joined;
}

JobView lookAtJob(std::string_view queue, int job) {
    JobView view;
    const IppResponse jobInfo =
        request(IPP_OP_GET_JOB_ATTRIBUTES, queue, job,
                {"job-state", "job-state-reasons", "job-printer-state-message"});
    if (!jobInfo || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        throw Error(msg::cupsJobRefused(queue, lastReason()));
    }
    view.state = enumValue(jobInfo.get(), "job-state", IPP_JSTATE_PENDING);
    view.reason = text(jobInfo.get(), "job-printer-state-message");
    if (view.reason.empty()) {
        view.reason = reasons(jobInfo.get(), "job-state-reasons");
    }
    const IppResponse printerInfo = request(IPP_OP_GET_PRINTER_ATTRIBUTES, queue, 0,
                                            {"printer-state", "printer-state-message"});
    if (printerInfo) {
        view.printerStopped =
            enumValue(printerInfo.get(), "printer-state", IPP_PSTATE_IDLE) == IPP_PSTATE_STOPPED;
        const std::string message = text(printerInfo.get(), "printer-state-message");
        if (view.printerStopped && !message.empty()) {
            view.reason = message;
        }
    }
    return view;
}

void cancel(std::string_view queue, int job) {
    cupsCancelJob2(CUPS_HTTP_DEFAULT, std::string(queue).c_str(), job, 0);
}

// Cancels the job and throws the failure.
[[noreturn]] void giveUp(std::string_view queue, int job, const std::string& message) {
    cancel(queue, job);
    throw Error(message);
}

void sendDocument(std::string_view queue, int job, std::string_view bytes,
                  const CupsDocument& document) {
    const std::string name(queue);
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, name.c_str(), job, document.title.c_str(),
                          document.format.c_str(), 1) != HTTP_STATUS_CONTINUE ||
        cupsWriteRequestData(CUPS_HTTP_DEFAULT, bytes.data(), bytes.size()) !=
            HTTP_STATUS_CONTINUE) {
        const std::string reason = lastReason();
        cupsFinishDocument(CUPS_HTTP_DEFAULT, name.c_str());
        giveUp(queue, job, msg::cupsJobRefused(queue, reason));
    }
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, name.c_str()) > IPP_STATUS_OK_CONFLICTING) {
        giveUp(queue, job, msg::cupsJobRefused(queue, lastReason()));
    }
}

void waitForJob(std::string_view queue, int job, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    auto pause = std::chrono::milliseconds(50);
    for (;;) {
        const JobView view = lookAtJob(queue, job);
        if (view.state == IPP_JSTATE_COMPLETED) {
            return;
        }
        if (view.state == IPP_JSTATE_CANCELED || view.state == IPP_JSTATE_ABORTED) {
            throw Error(msg::cupsJobFailed(queue, job, msg::cupsJobState(view.state), view.reason));
        }
        if (view.printerStopped && view.state != IPP_JSTATE_PROCESSING) {
            giveUp(queue, job, msg::cupsPrinterStopped(queue, job, view.reason));
        }
        if (Clock::now() >= deadline) {
            const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
            giveUp(queue, job, msg::cupsJobTimedOut(queue, job, static_cast<int>(seconds.count())));
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(500));
    }
}

}  // namespace

bool isCupsQueue(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, std::string(name).c_str(), nullptr);
    if (dest == nullptr) {
        return false;
    }
    cupsFreeDests(1, dest);
    return true;
}

int printCupsJob(std::string_view queue, std::string_view bytes, const CupsDocument& document) {
    cups_option_t* options = nullptr;
    int count = 0;
    for (const auto& [name, value] : document.options) {
        count = cupsAddOption(name.c_str(), value.c_str(), count, &options);
    }
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, std::string(queue).c_str(),
                                  document.title.c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job == 0) {
        throw Error(msg::cupsJobRefused(queue, lastReason()));
    }
    sendDocument(queue, job, bytes, document);
    waitForJob(queue, job, document.timeout);
    return job;
}

}  // namespace planora::print
