#include "core/desktop_viewer.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace core {

void DesktopViewer::show(const std::string& path) {
    // The opener is not waited for (it may live as long as the word processor), so its
    // exit is left to the system rather than kept as a zombie.
    static const bool reapChildren = [] {
        struct sigaction sa {};
        sa.sa_handler = SIG_DFL;
        sa.sa_flags = SA_NOCLDWAIT;
        return sigaction(SIGCHLD, &sa, nullptr) == 0;
    }();
    (void)reapChildren;
    std::vector<char*> argv = {const_cast<char*>(m_opener.c_str()), const_cast<char*>(path.c_str()),
                               nullptr};
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, m_opener.c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0)
        throw std::runtime_error("The report " + path + " could not be opened: " + m_opener +
                                 " could not be started (" + std::strerror(rc) + ").");
}

}  // namespace core
