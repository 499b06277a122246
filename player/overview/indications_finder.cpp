#include "player/overview/indications_finder.h"

#include "core/indications/gate_readings.h"
#include "core/indications/recorded_amplitudes.h"
#include "platform/path_bytes.h"

#include <cmath>
#include <new>

namespace pelix::overview {

using indications::AmplitudeSeries;
using indications::Indication;

namespace {

bool gateMoved(const IndicationSearch& s) {
    return s.remeasured && (s.gate == Gate::A ? s.remeasured->gates.gateA : s.remeasured->gates.gateB);
}

} // namespace

AmplitudeSeries echoDynamic(const IndicationSearch& search, const std::atomic<bool>* cancel) {
    const OverviewSeries& shown = *search.series;
    const int32_t n = shown.frameCount();
    if (search.rules.count.byReference() && !gateMoved(search)) {
        // The readings as recorded, read the way the command line reads them.
        recording::RecordingFile file;
        std::string error;
        if (!file.open(platform::pathToBytes(search.path), error)) return AmplitudeSeries(1);
        return indications::scanRecordedAmplitudes(
                   file, search.layout, search.gate, 1, n,
                   indications::recordedDbToReferenceOf(search.setup, search.gate), cancel)
            .series;
    }
    const std::vector<float> none;
    const std::vector<float>& db =
        search.rules.count.byReference() ? search.remeasured->dbToReference(search.gate) : none;
    AmplitudeSeries series(1);
    series.reserve(n);
    for (int32_t f = 1; f <= n; ++f) {
        const auto i = static_cast<std::size_t>(f - 1);
        std::optional<double> dB;
        if (i < db.size() && !std::isnan(db[i])) dB = db[i];
        series.append(shown.amplitude(search.gate, f), dB);
    }
    return series;
}

IndicationsFinder::IndicationsFinder(QObject* parent) : QObject(parent) {
    qRegisterMetaType<std::shared_ptr<const std::vector<Indication>>>();
}

IndicationsFinder::~IndicationsFinder() {
    cancel();
}

void IndicationsFinder::cancel() {
    m_task.cancel();
}

void IndicationsFinder::start(IndicationSearch search) {
    cancel();
    if (!search.series) return;
    m_task.start(
        [search = std::move(search)](const std::atomic<bool>& stop) {
            std::shared_ptr<const std::vector<Indication>> result;
            try {
                const AmplitudeSeries series = echoDynamic(search, &stop);
                auto found = std::make_shared<std::vector<Indication>>();
                int64_t looked = 0;
                indications::findIndications(series, search.rules, [&](const Indication& i) {
                    found->push_back(i);
                    return (++looked & 255) != 0 || !stop.load(std::memory_order_relaxed);
                });
                result = std::move(found);
            } catch (const std::bad_alloc&) {
                // Too many to hold: the list says it has none rather than taking the player down.
            }
            return result;
        },
        [this](std::shared_ptr<const std::vector<Indication>> result) { emit finished(std::move(result)); });
}

} // namespace pelix::overview
