#include "platform/progress_bar.h"

namespace pelix::platform {

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

} // namespace pelix::platform
