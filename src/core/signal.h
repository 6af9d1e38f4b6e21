#pragma once
// A plain callback list: the form model's change notices, without Qt.
#include <functional>
#include <utility>
#include <vector>

namespace core {

class Signal {
  public:
    int connect(std::function<void()> slot) {
        m_slots.emplace_back(m_next, std::move(slot));
        return m_next++;
    }
    void disconnect(int id) {
        std::erase_if(m_slots, [id](const auto& s) { return s.first == id; });
    }
    void emit() const {
        const auto slots = m_slots;  // a slot may disconnect itself
        for (const auto& [id, slot] : slots) slot();
    }

  private:
    int m_next = 1;
    std::vector<std::pair<int, std::function<void()>>> m_slots;
};

}  // namespace core
