#include "core/document/RecoveryFiles.h"

#include <charconv>
#include <vector>

namespace veltrano {

namespace {

constexpr std::string_view kHeader = "veltrano recovery 1";

// A path may hold any byte but the two that would end its line or its escape.
std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                return std::nullopt;
        }
    }
    return out;
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The value of a line "key=value", or nothing.
std::optional<std::string_view> valueOf(std::string_view line, std::string_view key) {
    if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != '=')
        return std::nullopt;
    return line.substr(key.size() + 1);
}

}  // namespace

std::string encodeRecoveryInfo(const RecoveryInfo& info) {
    return std::string(kHeader) + "\npath=" + escaped(info.originalPath) +
           "\nlegacy=" + (info.legacyFile ? "1" : "0") + "\ntime=" + std::to_string(info.writtenAt) + "\n";
}

std::optional<RecoveryInfo> decodeRecoveryInfo(std::string_view text) {
    const std::vector<std::string_view> lines = linesOf(text);
    if (lines.size() < 4 || lines[0] != kHeader) return std::nullopt;
    const auto path = valueOf(lines[1], "path");
    const auto legacy = valueOf(lines[2], "legacy");
    const auto time = valueOf(lines[3], "time");
    if (!path || !legacy || !time || (*legacy != "0" && *legacy != "1")) return std::nullopt;
    RecoveryInfo info;
    const auto original = unescaped(*path);
    if (!original) return std::nullopt;
    info.originalPath = *original;
    info.legacyFile = *legacy == "1";
    const auto [end, error] = std::from_chars(time->data(), time->data() + time->size(), info.writtenAt);
    if (error != std::errc() || end != time->data() + time->size()) return std::nullopt;
    return info;
}

std::string recoveryFolder(const char* xdgStateHome, const char* home) {
    if (xdgStateHome && xdgStateHome[0] == '/') return std::string(xdgStateHome) + "/veltrano";
    if (home && home[0] != '\0') return std::string(home) + "/.local/state/veltrano";
    return {};
}

}  // namespace veltrano
