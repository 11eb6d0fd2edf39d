#include "platform/port_names.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>

namespace platform {
namespace {

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// /dev/<prefix><number> entries in numeric order.
std::vector<std::string> NumberedDevices(const std::string& prefix) {
    std::vector<std::pair<long, std::string>> found;
    if (DIR* dir = ::opendir("/dev")) {
        while (const dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
            const std::string digits = name.substr(prefix.size());
            if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
            found.emplace_back(std::strtol(digits.c_str(), nullptr, 10), "/dev/" + name);
        }
        ::closedir(dir);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> paths;
    for (auto& f : found) paths.push_back(std::move(f.second));
    return paths;
}

std::vector<std::string> NamedDevices() {
    std::vector<std::string> paths;
    const char* list = std::getenv("CCTALK_PORTS");
    if (list == nullptr) return paths;
    std::string all = list;
    size_t start = 0;
    while (start <= all.size()) {
        const size_t end = std::min(all.find(':', start), all.size());
        const std::string path = all.substr(start, end - start);
        if (!path.empty() && Exists(path)) paths.push_back(path);
        start = end + 1;
    }
    return paths;
}

std::string DisplayName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::vector<PortName> SerialPortCandidates(int first, int last) {
    std::vector<std::string> paths = NamedDevices();
    for (const char* prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
        for (auto& p : NumberedDevices(prefix)) paths.push_back(std::move(p));
    }
    const size_t limit = last >= first ? static_cast<size_t>(last - first + 1) : 0;
    std::vector<PortName> names;
    for (const auto& p : paths) {
        if (names.size() >= limit) break;
        if (std::any_of(names.begin(), names.end(), [&](const PortName& n) { return n.device == p; })) continue;
        names.push_back({p, DisplayName(p)});
    }
    return names;
}

std::string ComPortDevice(int n) {
    if (n < 1) return "";
    const auto names = SerialPortCandidates(1, n);
    return static_cast<size_t>(n) <= names.size() ? names[static_cast<size_t>(n) - 1].device : "";
}

} // namespace platform
