// Turns the surface's operation list into the picture the widget shows. The
// image is kept between redraws and reallocated only when its size or the
// device pixel ratio changes.
#pragma once

#include "ascanview/render/drawing_surface.h"

#include <QFont>
#include <QImage>
#include <QLineF>
#include <QPointF>
#include <QSize>

#include <vector>

class SurfaceRasterizer {
  public:
    SurfaceRasterizer();

    // logicalSize in device-independent pixels.
    const QImage& rasterize(const DrawingSurface& surface, QSize logicalSize, qreal devicePixelRatio);
    const QImage& image() const { return m_image; }

  private:
    QImage m_image;
    QFont m_font;
    std::vector<QPointF> m_polyline;
    std::vector<QLineF> m_lines;
};
