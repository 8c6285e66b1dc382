#include "editor_host/HostImageList.h"

#include "common/Errors.h"
#include "common/Numeric.h"
#include "platform/DrawingSurface.h"

#include <string>

namespace velmar {

void DrawHostImage(const IDrawingSurface& picture, IHostImageList& images, double index, double deviceContext,
                   double x, double y) {
    const std::int32_t image = RoundToInt32(index, "image");
    if (image < 1 || image > images.Count()) {
        throw HostCallError("Draw_ImageList_ListImages: image " + std::to_string(image) + " outside 1.." +
                            std::to_string(images.Count()));
    }
    if (RoundToInt32(deviceContext, "device context") != picture.hDC()) {
        throw HostCallError("Draw_ImageList_ListImages: device context " +
                            std::to_string(static_cast<long long>(deviceContext)) +
                            " is not the picture box's");
    }
    images.Draw(image, RoundToInt32(x, "x"), RoundToInt32(y, "y"));
}

} // namespace velmar
