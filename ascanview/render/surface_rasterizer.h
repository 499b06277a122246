// Turns the surface's operation list into the picture the widget shows. The
// image and the canvas over it live from one redraw to the next; the image is
// reallocated only when its size or the device pixel ratio changes, so a
// redraw without text allocates nothing once the first is done.
#pragma once

#include "ascanview/render/drawing_surface.h"

#include <QFont>
#include <QImage>
#include <QSize>

namespace pelix::ascanview {

class ASCANVIEW_API SurfaceRasterizer {
  public:
    SurfaceRasterizer();

    // logicalSize in device-independent pixels.
    const QImage& rasterize(const DrawingSurface& surface, QSize logicalSize, qreal devicePixelRatio);
    const QImage& image() const { return m_image; }

  private:
    void drawText(const SurfaceText& text, const SurfaceOp& op, double sx, double sy);

    QImage m_image;
    QFont m_font;
};

} // namespace pelix::ascanview
