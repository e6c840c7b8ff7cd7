#include "JsonReader.h"

#include <set>
#include <vector>

namespace veltrano::cli {

namespace {

using Event = nlohmann::json::parse_event_t;

// The objects and lists open at a point of the text, each with the keys it has held so far: it finds
// the first key an object holds twice, and ends the parse where the nesting passes kMaxJsonDepth.
class NestingWatch {
public:
    // Thrown where the text nests deeper than kMaxJsonDepth, ending the parse there.
    struct TooDeep {};

    void see(Event event, const nlohmann::json& parsed) {
        switch (event) {
            case Event::object_start:
            case Event::array_start:
                if (open_.size() >= static_cast<std::size_t>(kMaxJsonDepth)) throw TooDeep{};
                open_.push_back({event == Event::object_start, nameOfNext(), {}, {}});
                break;
            case Event::object_end:
            case Event::array_end:
                if (!open_.empty()) open_.pop_back();
                break;
            case Event::key:
                if (!open_.empty()) sawKey(parsed.get<std::string>());
                break;
            case Event::value:
                break;
        }
    }
    const std::optional<std::string>& duplicate() const { return duplicate_; }

private:
    struct Container {
        bool object;
        std::string name;  // the key this container is the value of ("" at the top; a list's own in lists)
        std::set<std::string> keys;
        std::string lastKey;
    };

    std::string nameOfNext() const {
        if (open_.empty()) return {};
        return open_.back().object ? open_.back().lastKey : open_.back().name;
    }

    void sawKey(std::string key) {
        Container& object = open_.back();
        if (!object.keys.insert(key).second && !duplicate_)
            duplicate_ = "'" + key + "'" + (object.name.empty() ? "" : " in '" + object.name + "'");
        object.lastKey = std::move(key);
    }

    std::vector<Container> open_;
    std::optional<std::string> duplicate_;
};

// The library's messages begin with its own identifier ("[json.exception.parse_error.101] parse error
// at "); what follows says where and what.
std::string describe(const nlohmann::json::exception& e) {
    const std::string_view text = e.what();
    for (const std::string_view lead : {std::string_view("] parse error at "), std::string_view("] ")})
        if (const std::size_t at = text.find(lead); at != std::string_view::npos)
            return std::string(text.substr(at + lead.size()));
    return std::string(text);
}

}  // namespace

JsonReading readJson(std::string_view text) {
    JsonReading reading;
    NestingWatch watch;
    try {
        reading.value = nlohmann::json::parse(text, [&](int, Event event, nlohmann::json& parsed) {
            watch.see(event, parsed);
            return true;
        });
    } catch (const nlohmann::json::exception& e) {
        reading.value = nullptr;
        reading.error = "is not valid JSON: " + describe(e);
        return reading;
    } catch (const NestingWatch::TooDeep&) {
        reading.value = nullptr;
        reading.error = "nests objects and lists deeper than " + std::to_string(kMaxJsonDepth) + " levels";
        return reading;
    }
    reading.duplicateKey = watch.duplicate();
    return reading;
}

}  // namespace veltrano::cli
