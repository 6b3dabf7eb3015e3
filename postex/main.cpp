#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "postex/postex_run.h"

#ifdef PLANORA_WITH_GUI
#include "postex/failure_window.h"
#endif

// postex is started by the preview without waiting, so a failure printed on the terminal may
// be seen by nobody: with a display it is shown in a window too.
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const planora::postex::Outcome outcome = planora::postex::runPostex(args, std::cout, std::cerr);
#ifdef PLANORA_WITH_GUI
    if (outcome.status == planora::postex::kExitFailure) {
        planora::postex::showFailureWhenDisplayed(argc, argv, outcome.message);
    }
#endif
    return outcome.status;
}
