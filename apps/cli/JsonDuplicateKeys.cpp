#include "JsonDuplicateKeys.h"

#include <set>
#include <vector>

#include <QJsonArray>
#include <QJsonDocument>

namespace veltrano::cli {

namespace {

// The string that starts at `begin` (its opening quote) as the text it stands for; `end` is left just
// after its closing quote.
std::string stringAt(std::string_view text, std::size_t begin, std::size_t& end) {
    std::size_t i = begin + 1;
    while (i < text.size() && text[i] != '"') i += text[i] == '\\' ? 2 : 1;
    end = i + 1;
    // Escapes (\u0041, surrogate pairs, ...) are decoded by the parser that accepted the text.
    const QByteArray quoted =
        "[" + QByteArray(text.data() + begin, static_cast<qsizetype>(end - begin)) + "]";
    return QJsonDocument::fromJson(quoted).array().at(0).toString().toStdString();
}

std::size_t skipBlanks(std::string_view text, std::size_t i) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
    return i;
}

struct Container {
    bool object;
    std::string name;  // the key this container is the value of ("" at the top and in lists)
    std::set<std::string> keys;
};

}  // namespace

std::optional<std::string> findDuplicateKey(std::string_view text) {
    std::vector<Container> open;
    std::string lastKey;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '"') {
            std::size_t end = 0;
            std::string s = stringAt(text, i, end);
            i = end;
            const std::size_t next = skipBlanks(text, i);
            if (!open.empty() && open.back().object && next < text.size() && text[next] == ':') {
                Container& object = open.back();
                if (!object.keys.insert(s).second)
                    return "'" + s + "'" + (object.name.empty() ? "" : " in '" + object.name + "'");
                lastKey = std::move(s);
            }
            continue;
        }
        if (c == '{' || c == '[') {
            std::string name;
            if (!open.empty()) name = open.back().object ? lastKey : open.back().name;
            open.push_back({c == '{', std::move(name), {}});
        } else if ((c == '}' || c == ']') && !open.empty()) {
            open.pop_back();
        }
        ++i;
    }
    return std::nullopt;
}

}  // namespace veltrano::cli
