#include "core/evaluation/cal_readings.h"

#include "cal/include/pelix_cal.h"
#include "layout/evaluation_mode.h"
#include "layout/record_layout.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace pelix::evaluation {

namespace {

// Where the program's own libraries live relative to an installed program
// (the build names it after the platform's library folder).
#ifdef PELIX_PRIVATE_LIBRARY_FOLDER
constexpr const char* kPrivateLibraryFolder = PELIX_PRIVATE_LIBRARY_FOLDER;
#else
constexpr const char* kPrivateLibraryFolder = "../lib/pelix-player";
#endif
constexpr const char* kLibraryName = "Pelix_Cal";
constexpr const char* kLibraryFile = "libPelix_Cal.so";

std::string programFolder() {
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) return {};
    const std::string program(path.data(), static_cast<std::size_t>(length));
    const std::size_t slash = program.rfind('/');
    return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

// Beside the program (a build tree), in the installed private folder, then the loader's search path.
std::vector<std::string> libraryCandidates() {
    std::vector<std::string> candidates;
    const std::string folder = programFolder();
    if (!folder.empty()) {
        candidates.push_back(folder + "/" + kLibraryFile);
        candidates.push_back(folder + "/" + kPrivateLibraryFolder + "/" + kLibraryFile);
    }
    candidates.emplace_back(kLibraryFile);
    return candidates;
}

using SetHeaderDataFn = void (*)(const uint8_t*, const uint8_t*);
using UpdateGateDataFn = void (*)(const double*);
using FormatFn = int32_t (*)(int32_t, ReadingResult*);
using CaretFn = void (*)(int32_t*, int32_t*, int32_t*, int32_t*);

// The one binding of the readings exports for the whole process.
struct Binding {
    std::once_flag once; // worker threads may ask at the same moment
    // Set once the library was tried: every reading of every frame asks, and a flag read is cheaper
    // than the once-call.
    std::atomic<bool> tried{false};
    bool bound = false;
    std::string failure;
    SetHeaderDataFn setHeaderData = nullptr;
    UpdateGateDataFn updateGateData = nullptr;
    FormatFn format = nullptr;
    CaretFn caret = nullptr;
    curves::DgsExports dgs;

    bool bind() {
        if (!tried.load(std::memory_order_acquire)) {
            std::call_once(once, [this] { bound = load(); });
            tried.store(true, std::memory_order_release);
        }
        return bound;
    }

    bool load() {
        void* library = nullptr;
        std::string reason;
        for (const std::string& candidate : libraryCandidates()) {
            // Never closed: the library stays mapped until the process ends.
            library = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (library) break;
            if (const char* error = dlerror()) reason = error;
        }
        if (!library) {
            failure = std::string("The library \"") + kLibraryName + "\" cannot be loaded: " + reason;
            return false;
        }
        const auto resolve = [&](const char* name) -> void* {
            void* address = dlsym(library, name);
            if (!address && failure.empty())
                failure =
                    std::string("The library \"") + kLibraryName + "\" has no function \"" + name + "\".";
            return address;
        };
        setHeaderData = reinterpret_cast<SetHeaderDataFn>(resolve("SetHeaderData"));
        updateGateData = reinterpret_cast<UpdateGateDataFn>(resolve("UpdateGateData"));
        format = reinterpret_cast<FormatFn>(resolve("FormatCVRsltValue"));
        caret = reinterpret_cast<CaretFn>(resolve("CVUpdatedCaret"));
        const bool complete = setHeaderData && updateGateData && format && caret;
        // The DGS exports matter to DGS recordings alone; without them the DGS set-up is skipped
        // and the readings of the other recordings are unaffected.
        dgs.CVDGSNumOfERSCurvePoints = reinterpret_cast<decltype(dgs.CVDGSNumOfERSCurvePoints)>(
            dlsym(library, "CVDGSNumOfERSCurvePoints"));
        dgs.CVDGSCalculateNearFields = reinterpret_cast<decltype(dgs.CVDGSCalculateNearFields)>(
            dlsym(library, "CVDGSCalculateNearFields"));
        dgs.DGSEvaluateReference =
            reinterpret_cast<decltype(dgs.DGSEvaluateReference)>(dlsym(library, "DGSEvaluateReference"));
        dgs.CVDGSConvertDGStoDAC =
            reinterpret_cast<decltype(dgs.CVDGSConvertDGStoDAC)>(dlsym(library, "CVDGSConvertDGStoDAC"));
        return complete;
    }
};

Binding& binding() {
    static Binding b;
    return b;
}

// The setup record the library reads until the next SetHeaderData: a copy, so that its EvalMode
// word can be the one the picture shows (see below). The library keeps its state per thread, so
// each thread hands it a copy of its own.
thread_local std::array<uint8_t, layout::kRecordingHeaderBytes> t_setup{};

} // namespace

bool CalReadings::bind() {
    return binding().bind();
}

const std::string& CalReadings::failure() const {
    return binding().failure;
}

void CalReadings::SetHeaderData(const uint8_t* recordingHeader, const uint8_t* frameHeader) {
    if (!bind()) return;
    // A word outside the instrument's codes reaches the library as the family the
    // display draws, so readings, picture and report describe the recording alike.
    std::memcpy(t_setup.data(), recordingHeader, t_setup.size());
    const int32_t word = layout::read(t_setup.data(), layout::setup::EvalMode);
    const int32_t handed = layout::calculationEvaluationMode(word);
    if (handed != word) layout::write(t_setup.data(), layout::setup::EvalMode, handed);
    binding().setHeaderData(t_setup.data(), frameHeader);
}

void CalReadings::UpdateGateData(const GateDataArray& gates) {
    if (bind()) binding().updateGateData(gates.data());
}

CalReading CalReadings::FormatCVRsltValue(int32_t slot) {
    CalReading out;
    FormatCVRsltValue(slot, out);
    return out;
}

void CalReadings::FormatCVRsltValue(int32_t slot, CalReading& out) {
    out.text.clear();
    out.current = true;
    if (!bind()) return;
    ReadingResult result{};
    binding().format(slot, &result);
    // The text is at most 33 characters and NUL-terminated; trust neither.
    const char* const begin = result.text;
    const char* last = std::find(begin, begin + sizeof result.text, '\0');
    const char* first = begin;
    while (first < last && *first == ' ')
        ++first;
    while (last > first && last[-1] == ' ')
        --last;
    out.text.assign(first, last);
    out.current = result.current != 0;
}

curves::DgsExports CalReadings::dgsExports() {
    return bind() ? binding().dgs : curves::DgsExports{};
}

CalCarets CalReadings::CVUpdatedCaret() {
    CalCarets c;
    if (bind()) binding().caret(&c.aTriggered, &c.aCaret, &c.bTriggered, &c.bCaret);
    return c;
}

double leadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    const std::size_t digitsFrom = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
    }
    const std::string number = text.substr(start, i - start);
    if (i == digitsFrom || number == "-" || number == "+" || number == "." || number == "-." ||
        number == "+.")
        return 0.0;
    return std::strtod(number.c_str(), nullptr);
}

} // namespace pelix::evaluation
