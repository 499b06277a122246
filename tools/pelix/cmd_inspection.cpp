// pelix inspection: the inspection details of a recording's review, shown and set.
#include "core/review/display_text.h"
#include "tools/pelix/json_writer.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"
#include "tools/pelix/review_access.h"
#include "tools/pelix/subcommands.h"

#include <iostream>
#include <utility>
#include <vector>

namespace pelix::tool {

namespace {

constexpr std::size_t kShownDetail = 200;

int usage(const std::string& why) {
    std::cerr << "pelix inspection: " << why << "\n" << helpText(kInspectionCommand);
    return kExitUsage;
}

} // namespace

int runInspection(const Args& args) {
    const ParsedArgs parsed = parseArgs(kInspectionCommand, args);
    if (parsed.help) {
        std::cout << helpText(kInspectionCommand);
        return kExitOk;
    }
    if (!parsed.error.empty()) return usage(parsed.error);
    std::vector<std::string> settings = parsed.all("--set");
    // "--set A=1 B=2": the words after the first setting are settings too.
    if (parsed.positional.empty()) return usage("expects one FILE");
    if (!settings.empty())
        settings.insert(settings.end(), parsed.positional.begin() + 1, parsed.positional.end());
    else if (parsed.positional.size() > 1)
        return usage("expects one FILE");

    std::vector<std::pair<const review::InspectionField*, std::string>> changes;
    for (const std::string& setting : settings) {
        const auto equals = setting.find('=');
        if (equals == std::string::npos) return usage("--set " + setting + ": expects KEY=VALUE");
        const review::InspectionField* field = review::findInspectionField(setting.substr(0, equals));
        if (!field)
            return usage("--set " + setting + ": no inspection detail is called " +
                         setting.substr(0, equals));
        changes.emplace_back(field, setting.substr(equals + 1));
    }

    ReviewAccess access;
    if (const auto failed = openReview("inspection", parsed.positional[0], access)) return *failed;
    for (const auto& [field, value] : changes)
        access.review.inspection.*field->value = value;
    if (!changes.empty())
        if (const int status = keepReview("inspection", access); status != kExitOk) return status;

    const review::InspectionDetails& details = access.review.inspection;
    if (parsed.json) {
        JsonWriter w;
        w.beginObject();
        for (const review::InspectionField& field : review::inspectionFields())
            w.field(field.key, std::string_view(details.*field.value));
        w.endObject();
        std::cout << w.text() << "\n";
        return kExitOk;
    }
    std::string out;
    for (const review::InspectionField& field : review::inspectionFields())
        out += std::string(field.caption) + ": " +
               review::shortenedForDisplay(details.*field.value, kShownDetail) + "\n";
    std::cout << out;
    return kExitOk;
}

} // namespace pelix::tool
