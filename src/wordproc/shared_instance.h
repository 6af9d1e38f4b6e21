#pragma once
// The process-wide shared word-processor instance and its acquire and release
// rules. An owner is any object that identifies the component that started it.
#include <functional>
#include <memory>

#include "wordproc/application.h"

namespace wordproc::shared {

using Factory = std::function<std::shared_ptr<Application>()>;

// Starts a hidden instance when there is none, or when the one there has died
// or been made visible (the user took it over), recording `owner`.
std::shared_ptr<Application> acquire(const void* owner, const Factory& create);
// Only when the instance was started and `owner` is its owner (or owner is
// null): quits it when it is alive, hidden and holds no documents; forgets it
// in every case.
void release(const void* owner);

std::shared_ptr<Application> instance();
const void* owner();
bool started();

}  // namespace wordproc::shared
