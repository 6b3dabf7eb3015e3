#pragma once

#include <sched.h>
#include <sys/types.h>

namespace planora::db {

// While it lives, the calling thread stays on the processor it was running on, and so does any
// process brought there. A read from a reader program is a request and an answer passed to and
// fro between this thread and the reader, each waking the other: on two processors every
// wakeup crosses between them, which on a virtual machine costs tens of microseconds, more than
// a small answer takes to read; on one, the two simply take turns. Where the processors cannot
// be read or set, nothing changes.
class OneProcessor {
  public:
    OneProcessor();
    ~OneProcessor();  // gives the thread back the processors it had
    OneProcessor(const OneProcessor&) = delete;
    OneProcessor& operator=(const OneProcessor&) = delete;

    // Puts a process on the same processor; a process started by this thread meanwhile is
    // there already.
    void bring(pid_t process) const;
    // The processor, or -1 when the thread is not held on one.
    int processor() const { return processor_; }

  private:
    cpu_set_t saved_{};
    int processor_ = -1;
};

}  // namespace planora::db
