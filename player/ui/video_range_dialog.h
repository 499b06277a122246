// "Video range…" (Ctrl+Shift+V): the first and last frame of the range a video
// records, shown and typed, checked against the recording's frames.
#pragma once

#include "player/ui/typed_field.h"

#include <QDialog>

#include <cstdint>

namespace pelix::player {

class VideoRangeDialog : public QDialog {
    Q_OBJECT
  public:
    VideoRangeDialog(int32_t first, int32_t last, int32_t frameCount, QWidget* parent);

    // What OK took.
    int32_t first() const { return m_first; }
    int32_t last() const { return m_last; }
    void accept() override;

  private:
    TypedField m_firstField, m_lastField;
    int32_t m_frameCount;
    int32_t m_first, m_last;
};

} // namespace pelix::player
