#include "db/one_processor.h"

#include <pthread.h>

namespace planora::db {

namespace {

cpu_set_t only(int processor) {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(processor, &one);
    return one;
}

}  // namespace

OneProcessor::OneProcessor() {
    const pthread_t self = pthread_self();
    const int current = sched_getcpu();
    if (current < 0 || current >= CPU_SETSIZE ||
        pthread_getaffinity_np(self, sizeof saved_, &saved_) != 0) {
        return;
    }
    const cpu_set_t one = only(current);
    if (pthread_setaffinity_np(self, sizeof one, &one) == 0) {
        processor_ = current;
    }
}

OneProcessor::~OneProcessor() {
    if (processor_ >= 0) {
        pthread_setaffinity_np(pthread_self(), sizeof saved_, &saved_);
    }
}

void OneProcessor::bring(pid_t process) const {
    if (processor_ >= 0 && process > 0) {
        const cpu_set_t one = only(processor_);
        sched_setaffinity(process, sizeof one, &one);
    }
}

}  // namespace planora::db
