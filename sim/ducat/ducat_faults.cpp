#include "sim/ducat/ducat_faults.h"

namespace sim {

const DucatFaultRule* DucatFaultPlan::Take(uint8_t function) {
    auto chosen = rules_.end();
    for (auto it = rules_.begin(); it != rules_.end(); ++it) {
        if (it->function != kAnyFunction && it->function != function) continue;
        if (it->after > 0) {
            --it->after;
        } else if (chosen == rules_.end()) {
            chosen = it;
        }
    }
    if (chosen == rules_.end()) return nullptr;
    taken_ = *chosen;
    if (chosen->times != kForever && --chosen->times <= 0) rules_.erase(chosen);
    return &taken_;
}

} // namespace sim
