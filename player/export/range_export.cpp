#include "player/export/range_export.h"

#include "platform/track_bar.h"
#include "player/export/avi_export.h"
#include "player/playback/playback_controller.h"
#include "player/playback/player_session.h"

#include <QCheckBox>
#include <QRadioButton>

namespace pelix::player {

RangeExportResult exportRange(const PlayerControls& c, PlayerSession& session, PlaybackController& playback,
                              AviExport& avi, const RangeExportRequest& request) {
    // As the user does it: move to the start, tick the range, pick its end, move to the end.
    c.Slider->setValue(request.from);
    if (c.AVI_Select->isChecked()) c.AVI_Select->setChecked(false);
    c.AVI_Select->setChecked(true);
    c.optEnd->click();
    c.Slider->setValue(request.to);
    if (session.avi.startFrame != request.from || session.avi.endFrame != request.to)
        return RangeExportResult::NotStarted;

    if (!avi.startRecording(request.output, request.framesPerSecond)) return RangeExportResult::NotStarted;
    while (playback.state() == playback::PlaybackState::RecordingVideo)
        playback.tmrPlay_Timer();
    return avi.failed() ? RangeExportResult::Failed : RangeExportResult::Written;
}

} // namespace pelix::player
