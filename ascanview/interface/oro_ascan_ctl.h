// OroAscanCtl: the property-driven A-scan display control.
#pragma once

#include "ascanview/interface/export.h"

#include <QWidget>

class ASCANVIEW_API OroAscanCtl : public QWidget {
    Q_OBJECT
public:
    explicit OroAscanCtl(QWidget* parent = nullptr);
    ~OroAscanCtl() override;

signals:
    void MouseUp();
};
