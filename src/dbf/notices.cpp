#include "notices.h"

namespace dbf {
namespace {
NoticeHandler& handler() {
    static NoticeHandler h;
    return h;
}
}  // namespace

NoticeHandler setNoticeHandler(NoticeHandler h) {
    NoticeHandler old = std::move(handler());
    handler() = std::move(h);
    return old;
}

void notice(const std::string& text) {
    if (handler()) handler()(text);
}

}  // namespace dbf
