#include "ascanview/interface/oro_ascan_ctl.h"

#include "platform/component_registry.h"

OroAscanCtl::OroAscanCtl(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("OroAscanCtl")); }

OroAscanCtl::~OroAscanCtl() = default;

namespace {
QWidget* createOroAscanCtl(QWidget* parent) { return new OroAscanCtl(parent); }
const pelix::platform::ControlRegistration registration("AscanView.OroAscanCtl", &createOroAscanCtl);
} // namespace
