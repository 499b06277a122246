#include "core/review/review_json.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace pelix::review {

namespace {

using Json = nlohmann::ordered_json;

// Deeper than any review file of ours nests; a hostile file nested deeper
// would otherwise exhaust the stack when the windows' state is written back.
constexpr int kMostNesting = 64;

// A field that is missing where it is needed, or holds the wrong kind of value.
struct ContentError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void refuse(const std::string& where, const std::string& what) {
    throw ContentError(where + ": " + what);
}

bool nestsTooDeep(std::string_view text) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (++depth > kMostNesting) return true;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return false;
}

// The library's message without its "[json.exception.parse_error.101] " prefix.
std::string parseMessage(const std::exception& e) {
    const std::string what = e.what();
    const auto close = what.find("] ");
    return close == std::string::npos ? what : what.substr(close + 2);
}

const Json* member(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it == object.end() || it->is_null() ? nullptr : &*it;
}

std::string textOf(const Json& object, const char* key, const std::string& where) {
    const Json* v = member(object, key);
    if (!v) return {};
    if (!v->is_string()) refuse(where + "." + key, "not a text");
    return v->get<std::string>();
}

int64_t wholeOf(const Json& v, const std::string& where) {
    if (v.is_number_unsigned()) {
        if (v.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<int64_t>::max()))
            refuse(where, "too large");
        return static_cast<int64_t>(v.get<std::uint64_t>());
    }
    if (!v.is_number_integer()) refuse(where, "not a whole number");
    return v.get<int64_t>();
}

double numberOf(const Json& v, const std::string& where) {
    if (!v.is_number()) refuse(where, "not a number");
    const double d = v.get<double>();
    if (!std::isfinite(d)) refuse(where, "not a finite number");
    return d;
}

const Json& required(const Json& object, const char* key, const std::string& where) {
    const Json* v = member(object, key);
    if (!v) refuse(where + "." + key, "missing");
    return *v;
}

const Json* optionalObject(const Json& object, const char* key, const std::string& where) {
    const Json* v = member(object, key);
    if (v && !v->is_object()) refuse(where + "." + key, "not an object");
    return v;
}

// A single-precision value as the shortest decimal that reads back as it, so
// that 12.3F is written 12.3 rather than 12.300000190734863.
double shortestDecimal(float v) {
    std::array<char, 32> text{};
    const auto [end, ec] = std::to_chars(text.data(), text.data() + text.size() - 1, v);
    if (ec != std::errc()) return static_cast<double>(v);
    *end = '\0';
    return std::strtod(text.data(), nullptr);
}

Json gateJson(const std::optional<frame::DraggedGate>& gate) {
    if (!gate) return nullptr;
    return Json{{"Start", shortestDecimal(gate->start)}, {"Threshold", gate->threshold}};
}

std::optional<frame::DraggedGate> readGate(const Json& session, const char* key) {
    const std::string where = std::string("LastSession.") + key;
    const Json* v = optionalObject(session, key, "LastSession");
    if (!v) return std::nullopt;
    const double start = numberOf(required(*v, "Start", where), where + ".Start");
    if (std::fabs(start) > std::numeric_limits<float>::max()) refuse(where + ".Start", "out of range");
    const int64_t threshold = wholeOf(required(*v, "Threshold", where), where + ".Threshold");
    // A drag leaves the threshold within the picture's -100..100 percent.
    if (threshold < -100 || threshold > 100) refuse(where + ".Threshold", "not within -100..100 percent");
    return frame::DraggedGate{static_cast<float>(start), static_cast<int16_t>(threshold)};
}

std::optional<search::SearchLimits> readSearchBox(const Json& session) {
    const Json* v = optionalObject(session, "SearchBox", "LastSession");
    if (!v) return std::nullopt;
    const std::string where = "LastSession.SearchBox";
    search::SearchLimits box;
    box.SearchLowwidthRange =
        numberOf(required(*v, "SearchLowwidthRange", where), where + ".SearchLowwidthRange");
    box.SearchUpwidthRange =
        numberOf(required(*v, "SearchUpwidthRange", where), where + ".SearchUpwidthRange");
    box.SearchLowhightlimit =
        numberOf(required(*v, "SearchLowhightlimit", where), where + ".SearchLowhightlimit");
    box.SearchUphightlimit =
        numberOf(required(*v, "SearchUphightlimit", where), where + ".SearchUphightlimit");
    return box;
}

std::optional<AviRange> readAviRange(const Json& session) {
    const Json* v = optionalObject(session, "AviRange", "LastSession");
    if (!v) return std::nullopt;
    const std::string where = "LastSession.AviRange";
    return AviRange{wholeOf(required(*v, "Start", where), where + ".Start"),
                    wholeOf(required(*v, "End", where), where + ".End")};
}

LastSession readSession(const Json& v) {
    LastSession session;
    if (const Json* frame = member(v, "Frame")) session.frame = wholeOf(*frame, "LastSession.Frame");
    session.gateA = readGate(v, "GateA");
    session.gateB = readGate(v, "GateB");
    session.searchBox = readSearchBox(v);
    session.aviRange = readAviRange(v);
    if (const Json* windows = optionalObject(v, "Windows", "LastSession"))
        session.windows = windows->dump(-1, ' ', false, Json::error_handler_t::replace);
    return session;
}

Json sessionJson(const LastSession& session) {
    Json box = nullptr;
    if (session.searchBox)
        box = Json{{"SearchLowwidthRange", session.searchBox->SearchLowwidthRange},
                   {"SearchUpwidthRange", session.searchBox->SearchUpwidthRange},
                   {"SearchLowhightlimit", session.searchBox->SearchLowhightlimit},
                   {"SearchUphightlimit", session.searchBox->SearchUphightlimit}};
    Json range = nullptr;
    if (session.aviRange) range = Json{{"Start", session.aviRange->start}, {"End", session.aviRange->end}};
    // The windows' own text is theirs: anything but an object is written as none.
    Json windows = Json::object();
    if (!nestsTooDeep(session.windows)) {
        Json given = Json::parse(session.windows, nullptr, false);
        if (given.is_object()) windows = std::move(given);
    }
    return Json{{"Frame", session.frame},
                {"GateA", gateJson(session.gateA)},
                {"GateB", gateJson(session.gateB)},
                {"SearchBox", box},
                {"AviRange", range},
                {"Windows", windows}};
}

bool isSha256(const std::string& hex) {
    return hex.size() == 64 && std::all_of(hex.begin(), hex.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

ReviewFile readReview(const Json& root) {
    ReviewFile review;
    const Json& recording = required(root, "Recording", "review");
    if (!recording.is_object()) refuse("Recording", "not an object");
    review.recording.name = textOf(recording, "Name", "Recording");
    if (const Json* size = member(recording, "Size")) {
        const int64_t bytes = wholeOf(*size, "Recording.Size");
        if (bytes < 0) refuse("Recording.Size", "negative");
        review.recording.size = static_cast<std::uint64_t>(bytes);
    }
    std::string sha = textOf(recording, "Sha256", "Recording");
    std::transform(sha.begin(), sha.end(), sha.begin(),
                   [](char c) { return c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c; });
    // Without it nothing says which recording the marks belong to.
    if (!isSha256(sha)) refuse("Recording.Sha256", sha.empty() ? "missing" : "not 64 hexadecimal digits");
    review.recording.sha256 = sha;

    if (const Json* details = optionalObject(root, "Inspection", "review"))
        for (const InspectionField& field : inspectionFields())
            review.inspection.*field.value = textOf(*details, std::string(field.key).c_str(), "Inspection");

    if (const Json* marks = member(root, "Bookmarks")) {
        if (!marks->is_array()) refuse("Bookmarks", "not a list");
        review.bookmarks.reserve(marks->size());
        for (std::size_t i = 0; i < marks->size(); ++i) {
            const std::string where = "Bookmarks[" + std::to_string(i) + "]";
            const Json& mark = (*marks)[i];
            if (!mark.is_object()) refuse(where, "not an object");
            review.bookmarks.push_back({wholeOf(required(mark, "Frame", where), where + ".Frame"),
                                        textOf(mark, "Text", where), textOf(mark, "Created", where)});
        }
        sortBookmarks(review.bookmarks);
    }
    if (const Json* session = optionalObject(root, "LastSession", "review"))
        review.lastSession = readSession(*session);
    return review;
}

} // namespace

std::string reviewJson(const ReviewFile& review) {
    Json details = Json::object();
    for (const InspectionField& field : inspectionFields())
        details[std::string(field.key)] = review.inspection.*field.value;
    Json marks = Json::array();
    for (const Bookmark& mark : review.bookmarks)
        marks.push_back(Json{{"Frame", mark.frame}, {"Text", mark.text}, {"Created", mark.created}});
    Json root{{"Format", kReviewFormat},
              {"Version", kReviewVersion},
              {"Recording", Json{{"Name", review.recording.name},
                                 {"Size", review.recording.size},
                                 {"Sha256", review.recording.sha256}}},
              {"Inspection", std::move(details)},
              {"Bookmarks", std::move(marks)},
              {"LastSession", review.lastSession ? sessionJson(*review.lastSession) : Json(nullptr)}};
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

ReviewParse parseReviewJson(std::string_view text) {
    ReviewParse out;
    if (nestsTooDeep(text)) {
        out.problem = ReviewProblem::NotJson;
        out.reason = "nested deeper than " + std::to_string(kMostNesting) + " levels";
        return out;
    }
    Json root;
    try {
        root = Json::parse(text);
    } catch (const Json::exception& e) {
        out.problem = ReviewProblem::NotJson;
        out.reason = "not JSON: " + parseMessage(e);
        return out;
    }
    const Json* format = root.is_object() ? member(root, "Format") : nullptr;
    if (!format || !format->is_string() || format->get<std::string>() != kReviewFormat) {
        out.problem = ReviewProblem::NotReview;
        out.reason = "not a review file (its \"Format\" is not \"" + std::string(kReviewFormat) + "\")";
        return out;
    }
    const Json* version = member(root, "Version");
    if (!version || !version->is_number_integer() || version->get<int64_t>() != kReviewVersion) {
        out.problem = ReviewProblem::OtherVersion;
        const std::string given = !version               ? "missing"
                                  : version->is_number() ? version->dump()
                                                         : "not a number";
        out.reason =
            "review file version " + given + "; this program reads version " + std::to_string(kReviewVersion);
        return out;
    }
    try {
        out.review = readReview(root);
    } catch (const ContentError& e) {
        out.problem = ReviewProblem::BadContent;
        out.reason = e.what();
    } catch (const Json::exception& e) {
        out.problem = ReviewProblem::BadContent;
        out.reason = parseMessage(e);
    }
    return out;
}

} // namespace pelix::review
