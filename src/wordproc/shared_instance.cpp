#include "wordproc/shared_instance.h"

#include <mutex>

namespace wordproc::shared {

namespace {
struct State {
    std::mutex mutex;
    std::shared_ptr<Application> word;
    const void* owner = nullptr;
    bool started = false;
    ~State() {
        if (started && word && word->alive() && !word->visible() && word->documents().count() == 0)
            word->quit();
    }
};
State& state() {
    static State s;
    return s;
}
bool nothing(const std::shared_ptr<Application>& a) { return !a || !a->alive(); }

void releaseLocked(State& s, const void* owner) {
    if (!s.started || (owner != nullptr && owner != s.owner)) return;
    if (!nothing(s.word) && !s.word->visible() && s.word->documents().count() == 0) s.word->quit();
    s.word.reset();
    s.owner = nullptr;
    s.started = false;
}
}  // namespace

std::shared_ptr<Application> acquire(const void* owner, const Factory& create) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.started && nothing(s.word)) releaseLocked(s, nullptr);
    if (s.started && !nothing(s.word) && s.word->visible()) releaseLocked(s, nullptr);
    if (!s.started || nothing(s.word)) {
        s.word = create ? create() : std::make_shared<Application>();
        s.word->setVisible(false);
        s.owner = owner;
        s.started = true;
    }
    return s.word;
}

void release(const void* owner) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    releaseLocked(s, owner);
}

std::shared_ptr<Application> instance() {
    std::lock_guard lock(state().mutex);
    return state().word;
}

const void* owner() {
    std::lock_guard lock(state().mutex);
    return state().owner;
}

bool started() {
    std::lock_guard lock(state().mutex);
    return state().started;
}

}  // namespace wordproc::shared
