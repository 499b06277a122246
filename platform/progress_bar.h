// Progress bar: minimum, maximum and value, nothing more.
#pragma once

#include "platform/export.h"

#include <QProgressBar>

namespace pelix::platform {

class PELIX_PLATFORM_API ProgressBar : public QProgressBar {
    Q_OBJECT
  public:
    explicit ProgressBar(QWidget* parent = nullptr);
};

} // namespace pelix::platform
