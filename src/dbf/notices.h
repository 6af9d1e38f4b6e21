#pragma once
// Notices the engine gives the user without stopping the operation (the program shows
// them in a message box; tools print them). The engine never shows anything itself.
#include <functional>
#include <string>

namespace dbf {

using NoticeHandler = std::function<void(const std::string& text)>;
// Installs the handler and returns the previous one. Without a handler notices are dropped.
NoticeHandler setNoticeHandler(NoticeHandler handler);
void notice(const std::string& text);

}  // namespace dbf
