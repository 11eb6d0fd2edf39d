#include "platform/port_names.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace platform {
namespace {

constexpr char kSerialByIdFolder[] = "/dev/serial/by-id";

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// The device node a name leads to, links followed; "" when it leads nowhere.
std::string ResolvedPath(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    return names;
}

// /dev/<prefix><number> entries in numeric order.
std::vector<std::string> NumberedDevices(const std::string& prefix) {
    std::vector<std::pair<long, std::string>> found;
    for (const std::string& name : FolderEntries("/dev")) {
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string digits = name.substr(prefix.size());
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
        found.emplace_back(std::strtol(digits.c_str(), nullptr, 10), "/dev/" + name);
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

// The names udev gives each USB serial adapter after its maker, model and
// serial number: they stay the same whichever ttyUSB number the adapter gets.
std::vector<std::string> StableDevices() {
    const char* folder = std::getenv("CCTALK_SERIAL_BY_ID");
    const std::string byId = folder != nullptr ? folder : kSerialByIdFolder;
    std::vector<std::string> names = FolderEntries(byId);
    std::sort(names.begin(), names.end());
    std::vector<std::string> paths;
    for (const auto& name : names) paths.push_back(byId + "/" + name);
    return paths;
}

std::string DisplayName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::vector<PortName> SerialPortCandidates(int first, int last) {
    std::vector<std::string> paths = NamedDevices();
    for (auto& p : StableDevices()) paths.push_back(std::move(p));
    for (const char* prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
        for (auto& p : NumberedDevices(prefix)) paths.push_back(std::move(p));
    }
    const size_t limit = last >= first ? static_cast<size_t>(last - first + 1) : 0;
    std::vector<PortName> names;
    std::vector<std::string> devices; // what each listed name leads to
    for (const auto& p : paths) {
        if (names.size() >= limit) break;
        const std::string resolved = ResolvedPath(p);
        if (resolved.empty()) continue; // a dangling link: the adapter has gone
        if (std::find(devices.begin(), devices.end(), resolved) != devices.end()) continue;
        devices.push_back(resolved);
        const int number = static_cast<int>(names.size()) + 1;
        names.push_back({p, DisplayName(p), number, resolved == p ? std::string() : resolved});
    }
    return names;
}

std::string ComPortDevice(int n) {
    if (n < 1) return "";
    const auto names = SerialPortCandidates(1, n);
    return static_cast<size_t>(n) <= names.size() ? names[static_cast<size_t>(n) - 1].device : "";
}

} // namespace platform
