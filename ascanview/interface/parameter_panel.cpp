// The parameter panel, the visibility switches and the text services.
#include "ascanview/interface/oro_ascan_ctl.h"

#include "ascanview/mouse/search_range_box.h"
#include "ascanview/render/ascan_picture.h"
#include "ascanview/render/label_text.h"

#include <QLabel>

using namespace pelix::ascanview;

void OroAscanCtl::Initialize_Parameters() {
    for (int i = 0; i < kPanelRows; ++i) {
        for (QLabel* label :
             {m_paramTitle[static_cast<std::size_t>(i)], m_paramValue[static_cast<std::size_t>(i)]}) {
            label->hide();
            label->clear();
        }
    }
}

void OroAscanCtl::tiParamTitle(int index, const QString& text) {
    if (index < 0 || index >= kPanelRows) return;
    QLabel* label = m_paramTitle[static_cast<std::size_t>(index)];
    label->setText(text);
    label->show();
}

void OroAscanCtl::pParamValue(int index, const QString& text) {
    if (index < 0 || index >= kPanelRows) return;
    QLabel* label = m_paramValue[static_cast<std::size_t>(index)];
    label->setText(text);
    label->show();
}

void OroAscanCtl::AscanMode(qint32 vAscanMode) {
    if (vAscanMode != ASCANON && vAscanMode != ASCANOFF) return;
    const bool on = vAscanMode == ASCANON;
    for (QWidget* widget :
         std::initializer_list<QWidget*>{m_lblControlTitle, m_picAscan, m_lblAscanStart, m_lblAscanWidth})
        widget->setVisible(on);
    update();
}

void OroAscanCtl::RangeMode(qint32 vRange) {
    if (vRange != RANGEON && vRange != RANGEOFF) return;
    const bool on = vRange == RANGEON;
    m_lblAscanStart->setVisible(on);
    m_lblAscanWidth->setVisible(on);
}

QString OroAscanCtl::ConvertDecToCom(const QString& NativeValue) const {
    return convertDecToCom(NativeValue, m_props.RadixCharacter == COMMA);
}

QString OroAscanCtl::FormatLabel(qint32 CurveOffset) const {
    return formatCurveLabel(CurveOffset);
}

void OroAscanCtl::SearchSwitchJudgement() {
    m_searchRange->setVisible(m_props.SearchSwitch);
}
