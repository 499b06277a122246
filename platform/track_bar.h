// Track bar with a selection range: a slider whose groove can show a marked
// span (the player marks the AVI range on its position slider). Scroll is the
// user moving the thumb (dragging it, clicking the channel, keys); Change is
// every change of the position, whether the user or the program made it.
#pragma once

#include "platform/export.h"

#include <QSlider>

namespace pelix::platform {

class PELIX_PLATFORM_API TrackBar : public QSlider {
    Q_OBJECT
  public:
    explicit TrackBar(QWidget* parent = nullptr);

    void setTickFrequency(int frequency);
    int tickFrequency() const { return tickInterval(); }
    void setLargeChange(int step) { setPageStep(step); }
    int largeChange() const { return pageStep(); }

    // The selection: SelStart and SelLength in slider positions; it is drawn
    // only while SelectRange is on.
    void setSelStart(int start);
    int selStart() const { return m_selStart; }
    void setSelLength(int length);
    int selLength() const { return m_selLength; }
    void setSelectRange(bool on);
    bool selectRange() const { return m_selectRange; }

  signals:
    void Scroll();
    void Change();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int m_selStart = 0;
    int m_selLength = 0;
    bool m_selectRange = false;
};

} // namespace pelix::platform
